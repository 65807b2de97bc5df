#pragma once

// Shared test fixtures: whole-file reads and writes, a temporary
// installation holding a copy of the sample design database, finding a
// window's controls by their object names, the grid as text and, for the
// window tests, the designer window and modal dialogs worked from a test.

#include "scriptedcontext.h"

#include "components/patterngrid.h"
#include "designer/gridlayout.h"

#include <QFile>
#include <QObject>
#include <QTemporaryDir>

// The settings and data folders (QSettings, recovery copies) of a test program and the programs it starts:
// a temporary folder of its own, set before anything reads them, so no test touches the user's files.
inline const struct TemporaryUserFolders
{
    TemporaryUserFolders() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.path())), qputenv("XDG_DATA_HOME", QFile::encodeName(root.path())); }
    QTemporaryDir root;
} kUserFolders;

// Whole-file reads and writes; an unreadable file reads as no bytes.
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The control of that name; fails the test's assumptions loudly when absent.
template <typename T>
T *child(const QObject &parent, const char *name)
{
    T *found = parent.findChild<T *>(QLatin1String(name));
    Q_ASSERT_X(found, "child", name);
    return found;
}

// The grid as lines: the mode, then each row with its type and filled cells.
inline QStringList dump(const QString &mode, const PatternGrid &grid)
{
    QStringList out{QStringLiteral("mode ") + mode};
    for (int r = 1; r <= grid.RowCount(); ++r) {
        out += QStringLiteral("row %1 type %2").arg(r).arg(grid.CellListIndex(r, GridLayout::kTypeColumn));
        for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
            if (!grid.CellText(r, c).isEmpty())
                out += QStringLiteral("  %1 %2").arg(QString::number(c), grid.CellText(r, c));
        }
    }
    return out;
}

// A temporary folder with a copy of the sample design database.
class SampleInstallation
{
public:
    SampleInstallation() { QFile::copy(QStringLiteral(ZN7_SAMPLE_DESKTOP), designDatabase()); }
    bool isValid() const { return m_dir.isValid() && QFile::exists(designDatabase()); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString designDatabase() const { return m_dir.filePath(QStringLiteral("ZN7Desktop.dat")); }

private:
    QTemporaryDir m_dir;
};

#ifdef QT_WIDGETS_LIB
#include "components/gui/grideditor.h"
#include "components/gridtablemodel.h"
#include "designer/gui/frmcreatepattern.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTimer>

// The designer window, shown, over a copy of the sample installation.
struct DesignerFixture
{
    DesignerFixture() { window.show(); }
    QString path(const QString &name) const { return install.filePath(name); }
    GridTableModel &grid() const { return *child<GridEditor>(window, "GridEditor1")->model(); }
    QString status() const { return child<QLabel>(window, "textPanel")->text(); }
    void trigger(const char *action) { child<QAction>(window, action)->trigger(); }
    // Writes a pattern file and opens it through the Open command; its path.
    QString open(const QString &name, const QByteArray &bytes)
    {
        prompts.files.enqueue(path(name));
        if (writeBytes(path(name), bytes))
            trigger("mnuOPen");
        return path(name);
    }

    SampleInstallation install;
    ScriptedContext context{install.designDatabase()};
    ScriptedPrompts &prompts = context.prompts;
    frmCreatePattern window{context};
};

// Runs `act` on the first modal dialog of type T to open within `open`;
// whether one opened.
template <typename T>
bool onModal(const std::function<void()> &open, const std::function<void(T *)> &act)
{
    QObject guard;   // stops the polling once `open` returns
    bool seen = false;
    std::function<void()> poll = [&] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            seen = true;
            act(dialog);
        } else {
            QTimer::singleShot(10, &guard, poll);
        }
    };
    QTimer::singleShot(10, &guard, poll);
    open();
    return seen;
}
#endif
