#include "zn7tedsrmain.h"

#include "components/datatools.h"
#include "components/gui/dialogprompts.h"
#include "components/inireader.h"
#include "components/systemsettings.h"
#include "components/texttools.h"
#include "designer/gui/frmcreatepattern.h"
#include "designer/gui/windowmemory.h"
#include "startup/startupsequence.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

#include <cstdio>

ZN7TEDSRMain::ZN7TEDSRMain() = default;
ZN7TEDSRMain::~ZN7TEDSRMain() = default;

SystemSettings &ZN7TEDSRMain::systemSettings()
{
    if (!m_systemSettings)
        m_systemSettings = std::make_unique<SystemSettings>();
    return *m_systemSettings;
}

DataTools &ZN7TEDSRMain::dataTools()
{
    if (!m_dataTools)
        m_dataTools = std::make_unique<DataTools>();
    return *m_dataTools;
}

IniReader &ZN7TEDSRMain::iniReader()
{
    if (!m_iniReader)
        m_iniReader = std::make_unique<IniReader>();
    return *m_iniReader;
}

TextTools &ZN7TEDSRMain::textTools()
{
    if (!m_textTools)
        m_textTools = std::make_unique<TextTools>();
    return *m_textTools;
}

DialogPrompts &ZN7TEDSRMain::prompts()
{
    if (!m_prompts)
        m_prompts = std::make_unique<DialogPrompts>();
    return *m_prompts;
}

PatternFileChooser &ZN7TEDSRMain::fileChooser() { return prompts(); }
ModePicker &ZN7TEDSRMain::modePicker() { return prompts(); }
Questions &ZN7TEDSRMain::questions() { return prompts(); }
Notices &ZN7TEDSRMain::notices() { return prompts(); }

QString ZN7TEDSRMain::ApplicationPath() const
{
    return m_systemSettings ? m_systemSettings->AppPath() : QString();
}

frmCreatePattern *ZN7TEDSRMain::start(const QString &executablePath, AppContext &context,
                                       QString &configConnection, const char *codePage,
                                       const QString &fileToOpen)
{
    // Without the code page no pattern could be opened or saved, and every
    // attempt would say so in misleading words: better not to start.
    if (!CodePage::isAvailable(codePage)) {
        context.notices().tell(
            QStringLiteral("ไม่สามารถใช้รหัสอักขระ %1 ได้ กรุณาติดตั้งโปรแกรมใหม่\n"
                           "The Thai code page (%1) is not available in this installation, so "
                           "pattern files can be neither read nor written.")
                .arg(QLatin1String(codePage)),
            Notices::Icon::Critical);
        return nullptr;
    }
    if (!StartupSequence::prepare(executablePath, context, configConnection)) {
        context.notices().tell(QStringLiteral("ไม่พบไฟล์ระบบ กรุณาติดตั้งโปรแกรมใหม่ หรือติดต่อผู้ดูแลระบบ"),
                               Notices::Icon::Critical);
        return nullptr;
    }
    auto *window = new frmCreatePattern(context);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Where the user left it last time; centred the first time.
    if (!WindowMemory::restoreGeometry(*window)) {
        if (const QScreen *screen = window->screen())
            window->move(screen->availableGeometry().center() - window->rect().center());
    }
    window->show();
    // A pattern taken back from a crash is not replaced by the file given:
    // it would be lost again.
    QTimer::singleShot(0, window, [window, &context, file = fileToOpen] {
        if (window->offerRecovery() || file.isEmpty())
            return;
        const QFileInfo info(file);
        // A name mistyped on the command line is said as such, not as a
        // file that holds no pattern.
        if (!info.exists() && !info.isSymLink()) {
            context.notices().tell(QStringLiteral("ไม่พบไฟล์ %1\nThe file \"%1\" does not exist.")
                                       .arg(QDir::toNativeSeparators(info.absoluteFilePath())),
                                   Notices::Icon::Warning);
            return;
        }
        window->openPath(info.absoluteFilePath());
    });
    return window;
}

int ZN7TEDSRMain::Main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The settings go to ~/.config/zn7/zn7tedsr.conf, the recovery copies to
    // ~/.local/share/zn7/zn7tedsr/.
    QApplication::setOrganizationName(QStringLiteral("zn7"));
    QApplication::setApplicationName(QStringLiteral("zn7tedsr"));
    QApplication::setApplicationVersion(QStringLiteral(ZN7_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Text Export Pattern Designer"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A pattern file to open once the window is up."),
                                 QStringLiteral("[FILE.PAT]"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "zn7tedsr: one pattern file at a time\n");
        return 1;
    }

    ZN7TEDSRMain globals;
    // The file given opens as File > Open opens a chosen one: a file that is
    // no pattern, or cannot be read, is reported the same way.
    frmCreatePattern *window = start(QApplication::applicationFilePath(), globals,
                                     globals.ConfigConnection, CodePage::kPattern, files.value(0));
    if (!window)
        return 1;
    globals.prompts().setParentWidget(window);
    return app.exec();
}
