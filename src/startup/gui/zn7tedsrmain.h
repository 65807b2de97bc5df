#pragma once

#include "components/appcontext.h"
#include "components/codepage.h"

#include <QString>
#include <memory>

class DataTools;
class DialogPrompts;
class frmCreatePattern;
class IniReader;
class SystemSettings;
class TextTools;

// The program's start-up module and its globals: the library objects of the
// run, each created at its first use and kept until the program ends, and
// the program's own prompts.
class ZN7TEDSRMain final : public AppContext
{
public:
    ZN7TEDSRMain();
    ~ZN7TEDSRMain() override;

    SystemSettings &systemSettings() override;
    DataTools &dataTools() override;
    IniReader &iniReader() override;
    TextTools &textTools() override;
    PatternFileChooser &fileChooser() override;
    ModePicker &modePicker() override;
    Questions &questions() override;
    Notices &notices() override;

    QString ApplicationPath() const;
    QString ConfigConnection;

    // Start-up with the given library objects: the code page of pattern
    // files, the folders, the test of the required data files and the
    // connection texts, then the designer window, shown. When the code page
    // cannot be converted or a required file is missing, the message is
    // shown and no window is made: the result is then null. Once the window
    // is up, a pattern kept from a designer that ended without saving is
    // offered back; unless it is taken, `fileToOpen` (if any) opens as File >
    // Open would open it.
    static frmCreatePattern *start(const QString &executablePath, AppContext &context,
                                   QString &configConnection,
                                   const char *codePage = CodePage::kPattern,
                                   const QString &fileToOpen = QString());

    // The entry point: reads the command line (--help, --version, a
    // pattern file to open), finds the program and data folders, refuses to
    // start (exit status 1, no window) without the code page or a required
    // data file, then shows the designer window, opens the file given as
    // File > Open would, and runs until the window closes.
    static int Main(int argc, char *argv[]);

private:
    DialogPrompts &prompts();

    std::unique_ptr<SystemSettings> m_systemSettings;
    std::unique_ptr<DataTools> m_dataTools;
    std::unique_ptr<IniReader> m_iniReader;
    std::unique_ptr<TextTools> m_textTools;
    std::unique_ptr<DialogPrompts> m_prompts;
};
