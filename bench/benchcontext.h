#pragma once

#include "components/appcontext.h"
#include "components/datatools.h"
#include "components/filedialogs.h"
#include "components/inireader.h"
#include "components/messageboxes.h"
#include "components/systemsettings.h"
#include "components/texttools.h"

#include <QFileInfo>

// The library objects of a benchmark run, with the real data access. Nothing
// a benchmark does should ask the user anything; should it happen, every
// question gets its default answer at once and is counted, so the benchmark
// can report it instead of timing a dialog.
class BenchContext final : public AppContext
{
public:
    explicit BenchContext(const QString &designDatabase = QString())
    {
        if (designDatabase.isEmpty())
            return;
        const QFileInfo info(designDatabase);
        m_settings.setDataPath(info.absolutePath());
        m_settings.setDesktopConnection(m_data.BuildConnection(
            QStringLiteral("ACCESS"), info.absolutePath(), info.fileName(), QString(), {}, {}, {}));
    }

    SystemSettings &systemSettings() override { return m_settings; }
    DataTools &dataTools() override { return m_data; }
    IniReader &iniReader() override { return m_ini; }
    TextTools &textTools() override { return m_text; }
    FileDialogs &fileDialogs() override { return m_files; }
    MessageBoxes &messageBoxes() override { return m_messages; }

    int questionsAsked() const { return m_messages.count + m_files.count + m_data.count; }

private:
    struct Messages final : MessageBoxes
    {
        QMessageBox::StandardButton show(QWidget *, const MessageRequest &request) override
        {
            ++count;
            return request.defaultButton != QMessageBox::NoButton ? request.defaultButton
                                                                  : QMessageBox::Ok;
        }
        int count = 0;
    };
    struct Files final : FileDialogs
    {
        QString ChooseFile(const QString &, const QString &, const QString &, bool &, bool &, int,
                           int) override
        {
            ++count;
            return {};
        }
        int count = 0;
    };
    struct Data final : DataTools
    {
        int count = 0;

    protected:
        int pickRow(const ListRequest &) override
        {
            ++count;
            return -1;
        }
    };

    SystemSettings m_settings;
    Data m_data;
    IniReader m_ini;
    TextTools m_text;
    Files m_files;
    Messages m_messages;
};
