#pragma once

#include "components/appcontext.h"

#include <QString>
#include <memory>

class DialogDataTools;
class frmCreatePattern;
class FileDialogs;
class IniReader;
class MessageBoxes;
class SystemSettings;
class TextTools;

// The program's start-up module and its globals: the library objects of the
// run, each created at its first use and kept until the program ends.
class ZN7TEDSRMain final : public AppContext
{
public:
    ZN7TEDSRMain();
    ~ZN7TEDSRMain() override;

    SystemSettings &systemSettings() override;
    DataTools &dataTools() override;
    IniReader &iniReader() override;
    TextTools &textTools() override;
    FileDialogs &fileDialogs() override;
    MessageBoxes &messageBoxes() override;

    QString ApplicationPath() const;
    QString ConfigConnection;

    // Start-up with the given library objects: the folders, the test of the
    // required data files and the connection texts, then the designer window,
    // shown. When a required file is missing the message is shown and no
    // window is made: the result is then null.
    static frmCreatePattern *start(const QString &executablePath, AppContext &context,
                                   QString &configConnection);

    // The entry point: finds the program and data folders, refuses to start
    // when a required data file is missing (exit status 1, no window), then
    // shows the designer window and runs until it closes.
    static int Main(int argc, char *argv[]);

private:
    std::unique_ptr<SystemSettings> m_systemSettings;
    std::unique_ptr<DialogDataTools> m_dataTools;
    std::unique_ptr<IniReader> m_iniReader;
    std::unique_ptr<TextTools> m_textTools;
    std::unique_ptr<FileDialogs> m_fileDialogs;
    std::unique_ptr<MessageBoxes> m_messageBoxes;
};
