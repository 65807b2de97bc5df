// Loaded into the real executable through QT_QPA_GENERIC_PLUGINS: for every
// window the program shows it writes one stderr line (class, title, and for a
// message box its icon, buttons and text), then closes it as a user would
// (not while a modal box stands before it; a question answered No); a shown
// window's new title gets a line of its own.
// Told so by the environment it works it instead: ZN7_PROBE_ANSWERS ("yes,no") answers Yes/No boxes in turn,
// ZN7_PROBE_OPEN is typed into a file dialog, ZN7_PROBE_STEPS (one a line) are done on the main window once no
// dialog is open: "click BUTTON", "trigger ACTION", "set ROW SECTION TEXT" (through the grid's model, as its cell
// editor does), "dump" (row 0: the title, then every filled cell; "done" at the end) and "close".

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QGenericPlugin>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>

#include <cstdio>

class WindowProbe final : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "windowprobe.json")

public:
    // The application deletes what this returns as it ends; the plugin itself watches.
    QObject *create(const QString &, const QString &) override
    {
        QCoreApplication::instance()->installEventFilter(this);
        return new QObject(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWidget *>(watched);
        if (!window || (window->windowType() != Qt::Window && window->windowType() != Qt::Dialog))
            return false;
        if (event->type() == QEvent::WindowTitleChange && window->isVisible()) {
            std::fprintf(stderr, "zn7-window-title\t%s\t%s\n", window->metaObject()->className(), window->windowTitle().toUtf8().constData());
            return false;
        }
        if (event->type() != QEvent::Show)
            return false;
        QString line = QStringLiteral("zn7-window-probe\t%1\t%2")
                           .arg(QLatin1String(window->metaObject()->className()), window->windowTitle());
        if (auto *box = qobject_cast<QMessageBox *>(window))
            line += QStringLiteral("\t%1\t%2\t%3").arg(int(box->icon())).arg(box->standardButtons().toInt()).arg(box->text());
        std::fprintf(stderr, "%s\n", line.replace(u'\n', u' ').toUtf8().constData());
        if (auto *box = qobject_cast<QMessageBox *>(window); box && box->button(QMessageBox::Yes) && !m_answers.isEmpty())
            QTimer::singleShot(300, box->button(m_answers.takeFirst() == u"yes" ? QMessageBox::Yes : QMessageBox::No), &QAbstractButton::click);
        else if (auto *dialog = qobject_cast<QFileDialog *>(window); dialog && qEnvironmentVariableIsSet("ZN7_PROBE_OPEN"))
            QTimer::singleShot(300, dialog, [dialog] {
                dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(qEnvironmentVariable("ZN7_PROBE_OPEN"));
                static_cast<QDialog *>(dialog)->accept();
            });
        else if (window->objectName() == u"frmCreatePattern" && !m_steps.isEmpty())
            QTimer::singleShot(300, window, [this, window] { work(window); });
        else
            closeLater(window);
        return false;
    }

private:
    // As a user would: not while a modal box stands before the window, and
    // a question's No rather than its close box.
    void closeLater(QWidget *window)
    {
        QTimer::singleShot(300, window, [this, window] {   // dies with the window, should the program close it first
            const auto *box = qobject_cast<QMessageBox *>(window);
            if (QApplication::activeModalWidget() && QApplication::activeModalWidget() != window)
                closeLater(window);
            else
                box && box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click() : void(window->close());
        });
    }

    void work(QWidget *window)
    {
        if (QApplication::activeModalWidget())   // a question first
            return QTimer::singleShot(100, window, [this, window] { work(window); });
        QAbstractItemModel *grid = window->findChild<QTableView *>(QStringLiteral("gridView"))->model();
        for (const QString &line : std::exchange(m_steps, {})) {
            const QStringList step = line.split(u' ');
            if (step[0] == u"click")
                window->findChild<QAbstractButton *>(step[1])->click();
            else if (step[0] == u"trigger")
                window->findChild<QAction *>(step[1])->trigger();
            else if (step[0] == u"set")   // a number for the type column
                grid->setData(grid->index(step[1].toInt() - 1, step[2].toInt()), step[2] == u"0" ? QVariant(step[3].toInt()) : QVariant(step[3]));
            else if (step[0] == u"close")
                window->close();
            for (int r = -1; step[0] == u"dump" && r < grid->rowCount(); ++r) {
                for (int c = 0; c < (r < 0 ? 1 : grid->columnCount()); ++c) {
                    if (const QString text = r < 0 ? window->windowTitle() : grid->index(r, c).data().toString(); !text.isEmpty())
                        std::fprintf(stderr, "zn7-window-probe\t%d\t%d\t%s\n", r + 1, c, qPrintable(text));
                }
            }
        }
        std::fprintf(stderr, "zn7-window-probe\tdone\n");
    }

    QStringList m_answers = qEnvironmentVariable("ZN7_PROBE_ANSWERS").split(u',', Qt::SkipEmptyParts);
    QStringList m_steps = qEnvironmentVariable("ZN7_PROBE_STEPS").split(u'\n', Qt::SkipEmptyParts);
};

#include "windowprobe.moc"
