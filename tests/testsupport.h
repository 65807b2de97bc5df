#pragma once

// Shared test fixtures: a context whose modal displays are answered by the
// test and recorded, and a temporary installation holding a copy of the
// sample design database.

#include "components/appcontext.h"
#include "components/datatools.h"
#include "components/filedialogs.h"
#include "components/inireader.h"
#include "components/messageboxes.h"
#include "components/systemsettings.h"
#include "components/texttools.h"

#include <QDir>
#include <QFile>
#include <QQueue>
#include <QTemporaryDir>
#include <functional>

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

// Records every message box and answers from a queue (default: the box's
// default button, else OK).
class RecordingMessageBoxes final : public MessageBoxes
{
public:
    QMessageBox::StandardButton show(QWidget *, const MessageRequest &request) override
    {
        shown.append(request);
        if (!answers.isEmpty())
            return answers.dequeue();
        return request.defaultButton != QMessageBox::NoButton ? request.defaultButton : QMessageBox::Ok;
    }
    QStringList texts() const
    {
        QStringList out;
        for (const MessageRequest &r : shown)
            out.append(r.text);
        return out;
    }

    QList<MessageRequest> shown;
    QQueue<QMessageBox::StandardButton> answers;
};

// Answers file dialogs from a queue ("" is a cancelled dialog) and records
// each request.
class ScriptedFileDialogs final : public FileDialogs
{
public:
    struct Call { QString initialFile, filter; bool saveMode; };
    QString ChooseFile(const QString &, const QString &initialFile, const QString &filter, bool &,
                       bool &saveMode, int, int) override
    {
        calls.append({initialFile, filter, saveMode});
        return answers.isEmpty() ? QString() : answers.dequeue();
    }
    QList<Call> calls;
    QQueue<QString> answers;
};

// The real data access, each selection list recorded and answered by the
// test: the first row holding pickValue, else closed without a choice.
class ScriptedDataTools final : public DataTools
{
public:
    QList<ListRequest> requests;
    QString pickValue;

protected:
    int pickRow(const ListRequest &request) override
    {
        requests.append(request);
        for (int i = 0; i < request.rows.size(); ++i) {
            if (!pickValue.isEmpty() && request.rows.at(i).contains(pickValue))
                return i;
        }
        return -1;
    }
};

class TestContext final : public AppContext
{
public:
    SystemSettings &systemSettings() override { return settings; }
    DataTools &dataTools() override { return data; }
    IniReader &iniReader() override { return ini; }
    TextTools &textTools() override { return text; }
    FileDialogs &fileDialogs() override { return files; }
    MessageBoxes &messageBoxes() override { return messages; }

    // Points DesignConnection at a database file.
    void useDesignDatabase(const QString &path)
    {
        const QFileInfo info(path);
        settings.setDataPath(info.absolutePath());
        settings.setDesktopConnection(data.BuildConnection(QStringLiteral("ACCESS"), info.absolutePath(), info.fileName(),
                                                           QStringLiteral("qp71958"), {}, {}, {}));
    }

    SystemSettings settings;
    ScriptedDataTools data;
    IniReader ini;
    TextTools text;
    ScriptedFileDialogs files;
    RecordingMessageBoxes messages;
};

// A temporary folder with a copy of the sample design database.
class SampleInstallation
{
public:
    SampleInstallation()
    {
        if (const QString source = qEnvironmentVariable("ZN7_SAMPLE_DESKTOP"); !source.isEmpty())
            QFile::copy(source, designDatabase());
    }
    bool isValid() const { return m_dir.isValid() && QFile::exists(designDatabase()); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString designDatabase() const { return m_dir.filePath(QStringLiteral("ZN7Desktop.dat")); }

private:
    QTemporaryDir m_dir;
};
