// Start-up on temporary installations: the refusal when a required data file
// is missing, where the data folder is, the connection texts handed to the
// library, the designer window as start-up leaves it, and the real executable
// seen from outside through the window probe plugin (windowprobe/).

#include "testsupport.h"

#include "designer/frmcreatepattern.h"
#include "startup/startupsequence.h"
#include "startup/zn7tedsrmain.h"

#include <QAction>
#include <QProcess>
#include <QTest>

#include <memory>

namespace {

const QStringList kRequired = {QStringLiteral("ZN7Command.dat"), QStringLiteral("ZN7Center.dat"),
                               QStringLiteral("ZN7Desktop.dat"), QStringLiteral("config.dat")};
const QString kMissingFiles = QStringLiteral("ไม่พบไฟล์ระบบ กรุณาติดตั้งโปรแกรมใหม่ หรือติดต่อผู้ดูแลระบบ");

using Window = std::unique_ptr<frmCreatePattern>;

// A program folder and a data folder under one temporary root. ZN7Database.mdb
// is never made: start-up does not look for it.
struct Installation
{
    QTemporaryDir root;
    QString program = root.filePath(QStringLiteral("prog"));
    QString data = root.filePath(QStringLiteral("data"));
    QString executable = program + QStringLiteral("/zn7tedsr");

    // The INI ("%DATA%" stands for the data folder; none when empty), then the files in `folder`.
    bool make(QByteArray ini, const QString &folder, const QStringList &files)
    {
        QFile iniFile(program + QStringLiteral("/ZN7ConfigPath.ini"));
        bool ok = QDir().mkpath(program) && QDir().mkpath(data)
            && (ini.isEmpty() || (iniFile.open(QIODevice::WriteOnly)
                                  && iniFile.write(ini.replace("%DATA%", data.toUtf8())) > 0));
        for (const QString &name : files)
            ok = ok && QFile(folder + u'/' + name).open(QIODevice::WriteOnly);
        return ok;
    }
};

} // namespace

class TstStartup final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void missingRequiredFile_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<bool>("folderInstead");

        for (const QString &name : kRequired)
            QTest::newRow(qPrintable(name)) << name << false;
        QTest::newRow("folder named like config.dat") << QStringLiteral("config.dat") << true;
    }
    void missingRequiredFile()
    {
        QFETCH(QString, missing);
        QFETCH(bool, folderInstead);
        Installation install;
        QStringList present = kRequired;
        present.removeOne(missing);
        QVERIFY(install.make({}, install.program, present));
        QVERIFY(!folderInstead || QDir(install.program).mkdir(missing));

        TestContext context;
        QString config;
        QVERIFY(!StartupSequence::prepare(install.executable, context, config));
        QVERIFY(!Window(ZN7TEDSRMain::start(install.executable, context, config)));
        QCOMPARE(context.messages.texts(), QStringList(kMissingFiles));
        QCOMPARE(context.messages.shown.first().icon, QMessageBox::Critical);
    }

    void dataFolder_data()
    {
        QTest::addColumn<QByteArray>("ini");     // empty: no INI file
        QTest::addColumn<QString>("expected");   // "%PROG%" or "%DATA%", where the files are

        QTest::newRow("no INI file") << QByteArray() << "%PROG%";
        QTest::newRow("CONFIGPATH empty") << QByteArray("[Path]\nCONFIGPATH=\n") << "%PROG%";
        QTest::newRow("CONFIGPATH elsewhere") << QByteArray("CONFIGPATH=%DATA%\n") << "%DATA%";
        QTest::newRow("trailing slash kept") << QByteArray("CONFIGPATH=%DATA%/\n") << "%DATA%/";
    }
    void dataFolder()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, expected);
        Installation install;
        QVERIFY(install.make(ini, expected.startsWith(u"%DATA%") ? install.data : install.program, kRequired));
        const QString dataPath = expected.replace(QLatin1String("%PROG%"), install.program)
                                     .replace(QLatin1String("%DATA%"), install.data);

        TestContext context;
        QString config;
        const Window window(ZN7TEDSRMain::start(install.program + QStringLiteral("/zn7.tedsr.exe"), context, config));
        QVERIFY(window && window->isVisible());
        QCOMPARE(context.messages.shown.size(), 0);
        QCOMPARE(context.settings.DataPath(), dataPath);
        // The folder is joined unchanged, a trailing separator and all.
        QCOMPARE(DataTools::databasePath(context.settings.DesktopConnection()),
                 dataPath + QStringLiteral("/ZN7Desktop.dat"));
        QCOMPARE(DataTools::databasePath(config), dataPath + QStringLiteral("/config.dat"));
        // Upper case, without the last extension.
        QCOMPARE(context.text.ProgramName(), QStringLiteral("ZN7.TEDSR"));
    }

    // The root folder loses its separator like any other folder.
    void programAtTheRoot() { QCOMPARE(StartupSequence::programFolder(QStringLiteral("/")), QString()); }

    void window_data()
    {
        QTest::addColumn<QString>("mode");   // null: the window as start-up leaves it
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("title");

        const QString head = QStringLiteral("เครื่องมือสร้าง Pattern File [ Mode ");
        QTest::newRow("right after start") << QString() << QString() << "Text Export Pattern Designer File";
        QTest::newRow("known mode") << "BANK" << "/home/pat/pay.PAT"
                                    << head + QStringLiteral("โอนเงินผ่านธนาคาร (Bank Transfer) ] - /home/pat/pay.PAT");
        QTest::newRow("unknown mode") << "NOPE" << "x.PAT" << head + QStringLiteral(" ] - x.PAT");
        QTest::newRow("no file name") << "PAYROLL" << "" << head + QStringLiteral("เงินเดือนพนักงาน (Payroll) ] - ");
    }
    void window()
    {
        QFETCH(QString, mode);
        QFETCH(QString, fileName);
        QFETCH(QString, title);
        SampleInstallation sample;   // the design database, with the other required files beside it
        for (const QString &name : kRequired)
            QFile(sample.filePath(name)).open(QIODevice::Append);
        TestContext context;
        QString config;
        const Window window(ZN7TEDSRMain::start(sample.filePath(QStringLiteral("zn7tedsr")), context, config));
        QVERIFY2(sample.isValid() && window, "start-up refused the sample installation");
        if (!mode.isNull()) {
            window->PMODE = mode;
            window->FileName = fileName;
            window->doMode();
        }

        QCOMPARE(window->windowTitle(), title);
        for (QAction *action : {window->mnuNew, window->mnuOPen, window->mnuExit, window->mnuInsert, window->mnuRemove})
            QVERIFY(action->isEnabled());
        // Save and Save As once there is a pattern; Close never shows.
        QCOMPARE(window->mnuSave->isEnabled(), !mode.isNull());
        QCOMPARE(window->mnuSaveAs->isEnabled(), !mode.isNull());
        QVERIFY(!window->mnuClose->isVisible() && !window->mnuCloseSeparator->isVisible());
        QCOMPARE(context.messages.shown.size(), 0);
    }

    // The real executable in a program folder, run from another folder.
    void process_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown");   // the one window the probe reports

        const QString probe = QStringLiteral("zn7-window-probe\t");
        QTest::newRow("no data files") << QStringList() << 1
            << probe + QStringLiteral("QMessageBox\tText Export Pattern Designer\t%1\t%2\t%3")
                           .arg(int(QMessageBox::Critical)).arg(int(QMessageBox::Ok)).arg(kMissingFiles);
        QTest::newRow("complete installation") << kRequired << 0
            << probe + QStringLiteral("frmCreatePattern\tText Export Pattern Designer File\t-1\t-1\t");
    }
    void process()
    {
        QFETCH(QStringList, files);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        Installation install;
        QVERIFY(install.make({}, install.program, files));
        QVERIFY(QFile::copy(QStringLiteral(ZN7_PROGRAM), install.executable));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(ZN7_PROBE_PLUGINS));
        environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("zn7windowprobe"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(install.data);
        process.start(install.executable, {});
        QVERIFY2(process.waitForFinished(60000), qPrintable(process.errorString()));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const QStringList lines = QString::fromUtf8(process.readAllStandardError()).split(u'\n');
        QCOMPARE(lines.filter(QStringLiteral("zn7-window-probe\t")), QStringList(shown));
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
