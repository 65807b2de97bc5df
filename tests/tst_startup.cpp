// Start-up on temporary installations: where the program and data folders
// are, the refusal when a required data file is missing, the connection texts
// handed to the library, and the designer window as start-up leaves it.

#include "testsupport.h"

#include "components/grideditor.h"
#include "designer/frmcreatepattern.h"
#include "startup/startupsequence.h"
#include "startup/zn7tedsrmain.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <memory>

namespace {

const QString kMissingFiles =
    QStringLiteral("ไม่พบไฟล์ระบบ กรุณาติดตั้งโปรแกรมใหม่ หรือติดต่อผู้ดูแลระบบ");
const QStringList kRequired = {QStringLiteral("ZN7Command.dat"), QStringLiteral("ZN7Center.dat"),
                               QStringLiteral("ZN7Desktop.dat"), QStringLiteral("config.dat")};

bool touch(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

// A program folder and a separate data folder under one temporary root.
class Installation
{
public:
    Installation()
    {
        QDir(m_root.path()).mkdir(QStringLiteral("prog"));
        QDir(m_root.path()).mkdir(QStringLiteral("data"));
    }
    bool isValid() const { return m_root.isValid() && QFileInfo(program()).isDir(); }
    QString program() const { return m_root.filePath(QStringLiteral("prog")); }
    QString data() const { return m_root.filePath(QStringLiteral("data")); }
    // The executable need not exist: only its path is used.
    QString executable(const QString &name = QStringLiteral("zn7tedsr")) const
    {
        return program() + u'/' + name;
    }
    QString folder(const QString &which) const { return which == u"data" ? data() : program(); }

    bool createFiles(const QString &folder, const QStringList &names) const
    {
        for (const QString &name : names) {
            if (!touch(folder + u'/' + name))
                return false;
        }
        return true;
    }
    bool writeIni(QByteArray content) const
    {
        content.replace("%DATA%", data().toUtf8());
        QFile file(program() + QStringLiteral("/ZN7ConfigPath.ini"));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }

private:
    QTemporaryDir m_root;
};

QString connectionOf(const QString &folder, const QString &file)
{
    return ScriptedDataTools().BuildConnection(QStringLiteral("ACCESS"), folder, file,
                                               QStringLiteral("qp71958"), {}, {}, {});
}

int designerWindowsShown()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmCreatePattern *>(widget) && widget->isVisible())
            ++count;
    }
    return count;
}

} // namespace

class TstStartup final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void missingRequiredFile_data();
    void missingRequiredFile();
    void dataFolder_data();
    void dataFolder();
    void programFolder_data();
    void programFolder();
    void programAtTheRoot();
    void programName_data();
    void programName();
    void windowAfterStart();
    void windowTitle_data();
    void windowTitle();
    void about_data();
    void about();

private:
    // Starts on the sample design database with the three other required
    // files beside it; the window is null when start-up refused.
    std::unique_ptr<frmCreatePattern> startOnSample(SampleInstallation &sample, TestContext &context);
};

void TstStartup::missingRequiredFile_data()
{
    QTest::addColumn<QByteArray>("ini");         // empty: no INI file
    QTest::addColumn<QString>("filesIn");        // "prog" or "data"
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<QString>("folderInstead");  // a folder in the place of this file

    const QStringList none;
    QTest::newRow("ZN7Command.dat") << QByteArray() << "prog" << QStringList{kRequired.at(0)} << "";
    QTest::newRow("ZN7Center.dat") << QByteArray() << "prog" << QStringList{kRequired.at(1)} << "";
    QTest::newRow("ZN7Desktop.dat") << QByteArray() << "prog" << QStringList{kRequired.at(2)} << "";
    QTest::newRow("config.dat") << QByteArray() << "prog" << QStringList{kRequired.at(3)} << "";
    QTest::newRow("files only in the program folder")
        << QByteArray("CONFIGPATH=%DATA%\n") << "prog" << kRequired << "";
    QTest::newRow("data folder that does not exist")
        << QByteArray("CONFIGPATH=%DATA%/gone\n") << "data" << none << "";
    QTest::newRow("folder named like config.dat")
        << QByteArray() << "prog" << QStringList{kRequired.at(3)} << kRequired.at(3);
    QTest::newRow("folder named like ZN7Command.dat")
        << QByteArray("CONFIGPATH=%DATA%\n") << "data" << QStringList{kRequired.at(0)}
        << kRequired.at(0);
}

void TstStartup::missingRequiredFile()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, filesIn);
    QFETCH(QStringList, missing);
    QFETCH(QString, folderInstead);

    Installation install;
    QVERIFY(install.isValid());
    if (!ini.isEmpty())
        QVERIFY(install.writeIni(ini));
    QStringList present = kRequired;
    for (const QString &name : missing)
        present.removeAll(name);
    present.append(QStringLiteral("ZN7Database.mdb"));
    QVERIFY(install.createFiles(install.folder(filesIn), present));
    if (!folderInstead.isEmpty())
        QVERIFY(QDir(install.folder(filesIn)).mkdir(folderInstead));

    TestContext prepared;
    QString config;
    QVERIFY(!StartupSequence::prepare(install.executable(), prepared, config));
    // Nothing past the data folder is recorded.
    QCOMPARE(prepared.settings.AppPath(), install.program());
    QVERIFY(!prepared.settings.DataPath().isEmpty());
    QCOMPARE(prepared.settings.CommandConnection(), QString());
    QCOMPARE(prepared.settings.DesktopConnection(), QString());
    QCOMPARE(prepared.settings.DatabaseConnection(), QString());
    QCOMPARE(prepared.settings.PrinterIni(), QString());
    QCOMPARE(config, QString());
    QCOMPARE(prepared.text.ProgramName(), QString());

    TestContext context;
    QString startConfig;
    frmCreatePattern *window = ZN7TEDSRMain::start(install.executable(), context, startConfig);
    std::unique_ptr<frmCreatePattern> owner(window);
    QVERIFY(!window);
    QCOMPARE(context.messages.shown.size(), 1);
    const MessageRequest &message = context.messages.shown.first();
    QCOMPARE(message.text, kMissingFiles);
    QCOMPARE(message.icon, QMessageBox::Critical);
    QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(message.title, QString());
    QCOMPARE(designerWindowsShown(), 0);
}

void TstStartup::dataFolder_data()
{
    QTest::addColumn<QByteArray>("ini");          // empty: no INI file
    QTest::addColumn<QString>("filesIn");         // "prog" or "data"
    QTest::addColumn<QString>("expectedDataPath"); // with "%PROG%" and "%DATA%"

    QTest::newRow("no INI file") << QByteArray() << "prog" << "%PROG%";
    QTest::newRow("CONFIGPATH empty") << QByteArray("[Path]\nCONFIGPATH=\n") << "prog" << "%PROG%";
    QTest::newRow("CONFIGPATH absent") << QByteArray("[Path]\nPRINTER=lp0\n") << "prog" << "%PROG%";
    QTest::newRow("CONFIGPATH elsewhere") << QByteArray("CONFIGPATH=%DATA%\n") << "data" << "%DATA%";
    QTest::newRow("CONFIGPATH in a section, windows lines")
        << QByteArray("\xEF\xBB\xBF[Path]\r\nCONFIGPATH=%DATA%\r\n") << "data" << "%DATA%";
    QTest::newRow("CONFIGPATH with a trailing slash")
        << QByteArray("CONFIGPATH=%DATA%/\n") << "data" << "%DATA%/";
}

void TstStartup::dataFolder()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, filesIn);
    QFETCH(QString, expectedDataPath);

    Installation install;
    QVERIFY(install.isValid());
    if (!ini.isEmpty())
        QVERIFY(install.writeIni(ini));
    // ZN7Database.mdb is left out: start-up does not look for it.
    QVERIFY(install.createFiles(install.folder(filesIn), kRequired));
    const QString dataPath = QString(expectedDataPath)
                                 .replace(QLatin1String("%PROG%"), install.program())
                                 .replace(QLatin1String("%DATA%"), install.data());

    TestContext context;
    QString config;
    QVERIFY(StartupSequence::prepare(install.executable(), context, config));
    const SystemSettings &settings = context.settings;
    QCOMPARE(settings.AppPath(), install.program());
    QCOMPARE(settings.DataPath(), dataPath);
    QCOMPARE(settings.CommandConnection(), connectionOf(dataPath, QStringLiteral("ZN7Command.dat")));
    QCOMPARE(settings.CenterConnection(), connectionOf(dataPath, QStringLiteral("ZN7Center.dat")));
    QCOMPARE(settings.DesktopConnection(), connectionOf(dataPath, QStringLiteral("ZN7Desktop.dat")));
    QCOMPARE(settings.DatabaseConnection(), connectionOf(dataPath, QStringLiteral("ZN7Database.mdb")));
    QCOMPARE(config, connectionOf(dataPath, QStringLiteral("config.dat")));
    // The folder is joined unchanged, a trailing separator and all.
    QCOMPARE(DataTools::databasePath(settings.DesktopConnection()),
             dataPath + QStringLiteral("/ZN7Desktop.dat"));
    QCOMPARE(settings.ExchangeLogIni(), dataPath + QStringLiteral("/ZN7ExchangeLog.ini"));
    QCOMPARE(settings.PrinterIni(), dataPath + QStringLiteral("/ZN7Printer.ini"));
    QCOMPARE(settings.DesignConnection(), settings.DesktopConnection());
    QCOMPARE(context.text.ProgramName(), QStringLiteral("ZN7TEDSR"));

    TestContext started;
    QString startConfig;
    std::unique_ptr<frmCreatePattern> window(
        ZN7TEDSRMain::start(install.executable(), started, startConfig));
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(started.messages.shown.size(), 0);
    QCOMPARE(started.settings.DataPath(), dataPath);
    QCOMPARE(startConfig, config);
}

void TstStartup::programFolder_data()
{
    QTest::addColumn<QString>("executableDir");
    QTest::addColumn<QString>("expected");

    QTest::newRow("root") << "/" << "";
    QTest::newRow("folder") << "/opt/zn7" << "/opt/zn7";
    QTest::newRow("folder with a trailing slash") << "/opt/zn7/" << "/opt/zn7";
    QTest::newRow("only one separator removed") << "/opt/zn7//" << "/opt/zn7/";
}

void TstStartup::programFolder()
{
    QFETCH(QString, executableDir);
    QFETCH(QString, expected);

    QCOMPARE(StartupSequence::programFolder(executableDir), expected);
}

void TstStartup::programAtTheRoot()
{
    QCOMPARE(StartupSequence::joinPath(StartupSequence::programFolder(QStringLiteral("/")),
                                       QStringLiteral("ZN7ConfigPath.ini")),
             QStringLiteral("/ZN7ConfigPath.ini"));
    if (QFileInfo::exists(QStringLiteral("/ZN7ConfigPath.ini")))
        QSKIP("this machine has an INI file at the root");
    for (const QString &name : kRequired) {
        if (QFileInfo::exists(u'/' + name))
            QSKIP("this machine has data files at the root");
    }

    TestContext context;
    QString config;
    QVERIFY(!StartupSequence::prepare(QStringLiteral("/zn7tedsr"), context, config));
    QCOMPARE(context.settings.AppPath(), QString());
    QCOMPARE(context.settings.DataPath(), QString());
}

void TstStartup::programName_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no extension") << "zn7tedsr" << "ZN7TEDSR";
    QTest::newRow("windows extension") << "zn7tedsr.exe" << "ZN7TEDSR";
    QTest::newRow("dots in the name") << "zn7.tedsr.exe" << "ZN7.TEDSR";
}

void TstStartup::programName()
{
    QFETCH(QString, executable);
    QFETCH(QString, expected);

    Installation install;
    QVERIFY(install.isValid());
    QVERIFY(install.createFiles(install.program(), kRequired));
    TestContext context;
    QString config;
    QVERIFY(StartupSequence::prepare(install.executable(executable), context, config));
    QCOMPARE(context.text.ProgramName(), expected);
}

std::unique_ptr<frmCreatePattern> TstStartup::startOnSample(SampleInstallation &sample,
                                                            TestContext &context)
{
    if (!sample.isValid())
        return nullptr;
    for (const QString &name : kRequired) {
        if (!QFileInfo::exists(sample.filePath(name)))
            touch(sample.filePath(name));
    }
    QString config;
    return std::unique_ptr<frmCreatePattern>(
        ZN7TEDSRMain::start(sample.filePath(QStringLiteral("zn7tedsr")), context, config));
}

void TstStartup::windowAfterStart()
{
    SampleInstallation sample;
    TestContext context;
    const std::unique_ptr<frmCreatePattern> window = startOnSample(sample, context);
    QVERIFY2(window, "start-up refused the sample installation");

    QVERIFY(window->isVisible());
    QVERIFY(!window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral("Text Export Pattern Designer File"));
    QCOMPARE(window->FileName, QString());
    QCOMPARE(window->PMODE, QString());
    QVERIFY(window->mnuNew->isEnabled());
    QVERIFY(window->mnuOPen->isEnabled());
    QVERIFY(!window->mnuSave->isEnabled());
    QVERIFY(!window->mnuSaveAs->isEnabled());
    QVERIFY(!window->mnuClose->isVisible());
    QVERIFY(!window->mnuClose->isEnabled());
    QVERIFY(!window->mnuCloseSeparator->isVisible());
    QVERIFY(window->mnuExit->isEnabled());
    QVERIFY(window->mnuInsert->isEnabled());
    QVERIFY(window->mnuRemove->isEnabled());
    QVERIFY(window->mnuAbout->isEnabled());
    QCOMPARE(window->mnuEdit->actions(), QList<QAction *>({window->mnuInsert, window->mnuRemove}));
    QCOMPARE(window->mnuHelp->actions(), QList<QAction *>({window->mnuAbout}));
    // The grid has no layout until New or Open.
    QCOMPARE(window->GridEditor1->RowCount(), 0);
    QCOMPARE(window->GridEditor1->CellText(0, 11), QString());
    QCOMPARE(context.messages.shown.size(), 0);
}

void TstStartup::windowTitle_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("title");

    const QString head = QStringLiteral("เครื่องมือสร้าง Pattern File [ Mode ");
    QTest::newRow("known mode") << "BANK" << "/home/pat/pay.PAT"
                                << head + QStringLiteral("โอนเงินผ่านธนาคาร (Bank Transfer) ] - /home/pat/pay.PAT");
    QTest::newRow("new pattern") << "PAYROLL" << "Untitled.PAT"
                                 << head + QStringLiteral("เงินเดือนพนักงาน (Payroll) ] - Untitled.PAT");
    QTest::newRow("unknown mode") << "NOPE" << "x.PAT" << head + QStringLiteral(" ] - x.PAT");
    QTest::newRow("no file name") << "BANK" << ""
                                  << head + QStringLiteral("โอนเงินผ่านธนาคาร (Bank Transfer) ] - ");
    QTest::newRow("no mode, no file") << "" << "" << head + QStringLiteral(" ] - ");
}

void TstStartup::windowTitle()
{
    QFETCH(QString, mode);
    QFETCH(QString, fileName);
    QFETCH(QString, title);

    SampleInstallation sample;
    TestContext context;
    const std::unique_ptr<frmCreatePattern> window = startOnSample(sample, context);
    QVERIFY2(window, "start-up refused the sample installation");

    window->PMODE = mode;
    window->FileName = fileName;
    window->doMode();

    QCOMPARE(window->windowTitle(), title);
    QVERIFY(window->mnuSave->isEnabled());
    QVERIFY(window->mnuSaveAs->isEnabled());
    QCOMPARE(window->PMODE, mode);
    QCOMPARE(window->FileName, fileName);
    QCOMPARE(context.messages.shown.size(), 0);
}

void TstStartup::about_data()
{
    QTest::addColumn<bool>("afterDoMode");

    QTest::newRow("fresh window") << false;
    QTest::newRow("after a mode was set") << true;
}

void TstStartup::about()
{
    QFETCH(bool, afterDoMode);

    SampleInstallation sample;
    TestContext context;
    const std::unique_ptr<frmCreatePattern> window = startOnSample(sample, context);
    QVERIFY2(window, "start-up refused the sample installation");
    if (afterDoMode) {
        window->PMODE = QStringLiteral("BANK");
        window->FileName = QStringLiteral("Untitled.PAT");
        window->doMode();
    }
    const QString title = window->windowTitle();
    const bool saveEnabled = window->mnuSave->isEnabled();

    window->mnuAbout->trigger();

    QCOMPARE(context.messages.shown.size(), 1);
    const MessageRequest &message = context.messages.shown.first();
    QCOMPARE(message.text, QStringLiteral("ZN7 Library tool"));
    QCOMPARE(message.icon, QMessageBox::NoIcon);
    QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(message.title, QString());
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(window->PMODE, afterDoMode ? QStringLiteral("BANK") : QString());
    QCOMPARE(window->FileName, afterDoMode ? QStringLiteral("Untitled.PAT") : QString());
    QCOMPARE(window->mnuSave->isEnabled(), saveEnabled);
    QCOMPARE(window->mnuSaveAs->isEnabled(), saveEnabled);
    QVERIFY(window->isVisible());
}

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
