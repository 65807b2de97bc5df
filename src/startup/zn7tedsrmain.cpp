#include "zn7tedsrmain.h"

#include "components/filedialogs.h"
#include "components/inireader.h"
#include "components/messageboxes.h"
#include "components/selectionlist.h"
#include "components/systemsettings.h"
#include "components/texttools.h"
#include "designer/frmcreatepattern.h"
#include "startup/exitafterfirstpaint.h"
#include "startup/startupsequence.h"

#include <QApplication>
#include <QScreen>

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
        m_dataTools = std::make_unique<DialogDataTools>();
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

FileDialogs &ZN7TEDSRMain::fileDialogs()
{
    if (!m_fileDialogs)
        m_fileDialogs = std::make_unique<FileDialogs>();
    return *m_fileDialogs;
}

MessageBoxes &ZN7TEDSRMain::messageBoxes()
{
    if (!m_messageBoxes)
        m_messageBoxes = std::make_unique<MessageBoxes>();
    return *m_messageBoxes;
}

QString ZN7TEDSRMain::ApplicationPath() const
{
    return m_systemSettings ? m_systemSettings->AppPath() : QString();
}

frmCreatePattern *ZN7TEDSRMain::start(const QString &executablePath, AppContext &context,
                                       QString &configConnection)
{
    if (!StartupSequence::prepare(executablePath, context, configConnection)) {
        MessageRequest request;
        request.text = QStringLiteral("ไม่พบไฟล์ระบบ กรุณาติดตั้งโปรแกรมใหม่ หรือติดต่อผู้ดูแลระบบ");
        request.icon = QMessageBox::Critical;
        context.messageBoxes().show(nullptr, request);
        return nullptr;
    }
    auto *window = new frmCreatePattern(context);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (const QScreen *screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
    window->show();
    return window;
}

int ZN7TEDSRMain::Main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zn7tedsr"));

    ZN7TEDSRMain globals;
    frmCreatePattern *window = start(QApplication::applicationFilePath(), globals,
                                     globals.ConfigConnection);
    if (!window)
        return 1;
    static_cast<DialogDataTools &>(globals.dataTools()).setParentWidget(window);
    globals.fileDialogs().setParentWidget(window);
    if (qEnvironmentVariableIsSet("ZN7_BENCH_QUIT_AFTER_PAINT"))
        window->installEventFilter(new ExitAfterFirstPaint(window));
    return app.exec();
}
