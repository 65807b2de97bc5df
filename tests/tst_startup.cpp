// Start-up on temporary installations: prog/ holds the program and its INI
// file, data/ is where the INI may point. Where the data files are sought,
// the refusal when one is missing, and for two of them the real executable
// seen from outside through the window probe plugin (windowprobe/).

#include "testsupport.h"

#include "designer/frmcreatepattern.h"
#include "startup/startupsequence.h"
#include "startup/zn7tedsrmain.h"

#include <QAction>
#include <QProcess>
#include <QTest>

namespace {

const char *const kRequired[] = {"ZN7Command.dat", "ZN7Center.dat", "ZN7Desktop.dat", "config.dat"};
const QString kRefusal = QStringLiteral("ไม่พบไฟล์ระบบ กรุณาติดตั้งโปรแกรมใหม่ หรือติดต่อผู้ดูแลระบบ");

} // namespace

class TstStartup final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The INI file: none when empty, %DATA% standing for data/. The folder that
    // holds the data files, but for one left out (a name ending in '/' is made
    // a folder). The one window the real executable shows, when it is run.
    void dataFolder_data()
    {
        QTest::addColumn<QByteArray>("ini"); QTest::addColumn<QString>("folder"); QTest::addColumn<QString>("missing");
        QTest::addColumn<QString>("window");
        const QString refused = QStringLiteral("QMessageBox\tText Export Pattern Designer\t%1\t%2\t")
                                    .arg(int(QMessageBox::Critical)).arg(int(QMessageBox::Ok)) + kRefusal;
        QTest::newRow("no INI file") << QByteArray() << "prog" << "" << "frmCreatePattern\tText Export Pattern Designer File";
        QTest::newRow("CONFIGPATH empty") << QByteArray("[Path]\nCONFIGPATH=\n") << "prog" << "" << "";
        QTest::newRow("CONFIGPATH elsewhere") << QByteArray("CONFIGPATH=%DATA%\n") << "data" << "" << "";
        QTest::newRow("trailing slash kept") << QByteArray("CONFIGPATH=%DATA%/\n") << "data/" << "" << "";
        for (const char *name : kRequired)
            QTest::addRow("no %s", name) << QByteArray("CONFIGPATH=%DATA%\n") << "data" << name << (name == kRequired[3] ? refused : "");
        QTest::newRow("folder named like config.dat") << QByteArray() << "prog" << "config.dat/" << "";
    }
    // No ZN7Database.mdb is made: start-up does not look for it.
    void dataFolder()
    {
        QFETCH(QByteArray, ini); QFETCH(QString, folder); QFETCH(QString, missing); QFETCH(QString, window);
        QTemporaryDir root;
        const QString data = root.filePath(folder), program = root.filePath("prog/zn7.tedsr.exe");
        QFile iniFile(root.filePath("prog/ZN7ConfigPath.ini"));
        QVERIFY(QDir(root.path()).mkpath("prog") && QDir(root.path()).mkpath("data") && QFile::copy(ZN7_PROGRAM, program));
        QVERIFY(ini.isEmpty() || (iniFile.open(QIODevice::WriteOnly) && iniFile.write(ini.replace("%DATA%", root.filePath("data").toUtf8()))));
        iniFile.close();
        for (const QString name : kRequired)
            QVERIFY(name == missing.section(u'/', 0, 0) || QFile(data + u'/' + name).open(QIODevice::WriteOnly));
        QVERIFY(!missing.endsWith(u'/') || QDir(data).mkdir(missing));

        TestContext context;
        QString config;
        const std::unique_ptr<frmCreatePattern> shown(ZN7TEDSRMain::start(program, context, config));
        QCOMPARE(context.settings.DataPath(), data);
        QCOMPARE(context.messages.texts(), missing.isEmpty() ? QStringList() : QStringList(kRefusal));
        QCOMPARE(shown && shown->isVisible(), missing.isEmpty());
        if (shown) {   // the folder joined unchanged, a trailing separator and all
            QCOMPARE(DataTools::databasePath(context.settings.DesktopConnection()), data + "/ZN7Desktop.dat");
            QCOMPARE(DataTools::databasePath(config), data + "/config.dat");
            QCOMPARE(context.text.ProgramName(), "ZN7.TEDSR");   // upper case, without the last extension
            // Save and Save As wait for a pattern; Close never shows.
            QCOMPARE(QList<bool>({shown->mnuNew->isEnabled(), shown->mnuOPen->isEnabled(), shown->mnuInsert->isEnabled(), shown->mnuRemove->isEnabled(),
                                  shown->mnuExit->isEnabled(), shown->mnuSave->isEnabled(), shown->mnuSaveAs->isEnabled(),
                                  shown->mnuClose->isVisible() || shown->mnuCloseSeparator->isVisible()}),
                     QList<bool>({true, true, true, true, true, false, false, false}));
        }
        if (window.isEmpty())
            return;
        // Read by the program as it starts, from this test's folder.
        qputenv("QT_PLUGIN_PATH", ZN7_PROBE_PLUGINS);
        qputenv("QT_QPA_GENERIC_PLUGINS", "zn7windowprobe");
        QProcess run;
        run.start(program, {});
        QVERIFY2(run.waitForFinished(60000), qPrintable(run.errorString()));
        QCOMPARE(run.exitCode(), missing.isEmpty() ? 0 : 1);   // a crash gives its signal's number
        QCOMPARE(QString::fromUtf8(run.readAllStandardError()).split(u'\n').filter("zn7-window-probe\t"), QStringList("zn7-window-probe\t" + window));
    }

    void programAtTheRoot() { QCOMPARE(StartupSequence::programFolder("/"), QString()); }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
