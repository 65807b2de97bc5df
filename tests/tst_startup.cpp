// Start-up on temporary installations: prog/ holds the program and its INI
// file, bin/ a link to it, data/ is where the INI may point. Where the data files are sought,
// the refusal when one of them or the code page is missing, and for two
// cases the real executable seen from outside through the window probe
// plugin (windowprobe/).

#include "testsupport.h"

#include "designer/gui/frmcreatepattern.h"
#include "startup/startupsequence.h"
#include "startup/gui/zn7tedsrmain.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const char *const kRequired[] = {"ZN7Command.dat", "ZN7Center.dat", "ZN7Desktop.dat", "config.dat"};
const QString kRefusal = QStringLiteral("ไม่พบไฟล์ระบบ กรุณาติดตั้งโปรแกรมใหม่ หรือติดต่อผู้ดูแลระบบ");

} // namespace

class TstStartup final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dataFolder_data()
    {
        // The INI file (none when empty; %DATA% stands for data/); the folder
        // that holds the data files; the data file left out (one ending in
        // '/' is made a folder); what the one notice says, "" for none; the
        // class and title of the one window the real executable shows ("" not run).
        QTest::addColumn<QByteArray>("ini"); QTest::addColumn<QString>("folder"); QTest::addColumn<QString>("missing");
        QTest::addColumn<QByteArray>("codePage"); QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("windowClass"); QTest::addColumn<QString>("windowTitle");
        const QByteArray thai = CodePage::kPattern, elsewhere = "CONFIGPATH=%DATA%\n";
        QTest::newRow("no INI file") << QByteArray() << "prog" << "" << thai << "" << "frmCreatePattern" << "Text Export Pattern Designer File";
        QTest::newRow("CONFIGPATH empty") << QByteArray("[Path]\nCONFIGPATH=\n") << "prog" << "" << thai << "" << "" << "";
        QTest::newRow("CONFIGPATH elsewhere") << elsewhere << "data" << "" << thai << "" << "" << "";
        QTest::newRow("CONFIGPATH relative to the program") << QByteArray("CONFIGPATH=../prog/../data\n") << "data" << "" << thai << "" << "" << "";
        QTest::newRow("trailing slash kept") << QByteArray("CONFIGPATH=%DATA%/\n") << "data/" << "" << thai << "" << "" << "";
        for (const char *name : kRequired) {
            const bool run = name == kRequired[3];
            QTest::addRow("no %s", name) << elsewhere << "data" << name << thai << kRefusal << (run ? "QMessageBox" : "")
                                         << (run ? "Text Export Pattern Designer" : "");
        }
        QTest::newRow("folder named like config.dat") << QByteArray() << "prog" << "config.dat/" << thai << kRefusal << "" << "";
        QTest::newRow("no code page") << QByteArray() << "prog" << "" << QByteArray("no-such-codepage") << "no-such-codepage" << "" << "";
    }
    // No ZN7Database.mdb is made: start-up does not look for it.
    void dataFolder()
    {
        QFETCH(QByteArray, ini); QFETCH(QString, folder); QFETCH(QString, missing); QFETCH(QByteArray, codePage);
        QFETCH(QString, refusal); QFETCH(QString, windowClass); QFETCH(QString, windowTitle);
        QTemporaryDir root;
        const QString data = root.filePath(folder), program = root.filePath("prog/zn7.tedsr.exe");
        QVERIFY(QDir(root.path()).mkpath("prog") && QDir(root.path()).mkpath("data") && QFile::copy(ZN7_PROGRAM, program));
        QVERIFY(QDir(root.path()).mkpath("bin") && QFile::link("../prog/zn7.tedsr.exe", root.filePath("bin/zn7.tedsr.exe")));
        QVERIFY(ini.isEmpty() || writeBytes(root.filePath("prog/ZN7ConfigPath.ini"), ini.replace("%DATA%", root.filePath("data").toUtf8())));
        for (const QString name : kRequired)
            QVERIFY(name == missing.section(u'/', 0, 0) || writeBytes(data + u'/' + name, {}));
        QVERIFY(!missing.endsWith(u'/') || QDir(data).mkdir(missing));

        ScriptedContext context;
        QString config;
        const std::unique_ptr<frmCreatePattern> shown(ZN7TEDSRMain::start(root.filePath("bin/zn7.tedsr.exe"), context, config, codePage.constData()));
        // The code page is tested before anything is looked for.
        QCOMPARE(context.settings.DataPath(), codePage == CodePage::kPattern ? data : QString());
        QCOMPARE(context.prompts.icons, refusal.isEmpty() ? QList<Notices::Icon>() : QList{Notices::Icon::Critical});
        QVERIFY2(context.prompts.told.value(0).contains(refusal), qPrintable(context.prompts.told.value(0)));
        QWidgetList windows = QApplication::topLevelWidgets();   // the one returned, shown, or none
        windows.removeIf([](const QWidget *window) { return !window->isVisible(); });
        QCOMPARE(windows, shown ? QWidgetList{shown.get()} : QWidgetList());
        QCOMPARE(bool(shown), refusal.isEmpty());
        if (shown) {   // the folder joined unchanged, a trailing separator and all
            QCOMPARE(DataTools::databasePath(context.settings.DesktopConnection()), data + "/ZN7Desktop.dat");
            QCOMPARE(DataTools::databasePath(config), data + "/config.dat");
            QCOMPARE(context.text.ProgramName(), "ZN7.TEDSR");   // upper case, without the last extension
            // Save and Save As wait for a pattern; Close never shows.
            QStringList enabled, disabled;
            for (const QAction *action : child<QMenu>(*shown, "mnuFile")->actions() + child<QMenu>(*shown, "mnuEdit")->actions()) {
                if (action->isVisible())
                    (action->isEnabled() ? enabled : disabled) += action->isSeparator() ? QStringLiteral("-") : action->objectName();
            }
            QCOMPARE(enabled, QStringList({"mnuNew", "mnuImportTable", "-", "mnuOPen", "-", "-", "-", "-", "mnuExit", "-", "-",
                                           "mnuInsert", "mnuRemove", "-", "-"}));
            QCOMPARE(disabled, QStringList({"mnuSave", "mnuSaveAs", "mnuExportLayout", "mnuPrintLayout", "mnuInspect", "mnuRecent",
                                            "mnuUndo", "mnuRedo", "mnuCut", "mnuCopy", "mnuPaste", "mnuMoveUp",
                                            "mnuMoveDown", "mnuDuplicate", "mnuInsertLineAbove", "mnuInsertLineBelow",
                                            "mnuRemoveLine", "mnuInsertFiller", "mnuFillLine"}));   // no recent file yet
        }
        if (windowClass.isEmpty())
            return;
        // Read by the program as it starts, from this test's folder.
        qputenv("QT_PLUGIN_PATH", ZN7_PROBE_PLUGINS);
        qputenv("QT_QPA_GENERIC_PLUGINS", "zn7windowprobe");
        QProcess run;
        run.start(program, {});
        QVERIFY2(run.waitForFinished(60000), qPrintable(run.errorString()));
        QCOMPARE(run.exitCode(), refusal.isEmpty() ? 0 : 1);   // a crash gives its signal's number
        const QStringList probed = QString::fromUtf8(run.readAllStandardError()).split(u'\n').filter("zn7-window-probe\t");
        // The class and title, and for a message box its icon, buttons and text.
        QStringList expected{"zn7-window-probe", windowClass, windowTitle};
        if (!refusal.isEmpty())
            expected << QString::number(QMessageBox::Critical) << QString::number(QMessageBox::Ok) << refusal;
        QCOMPARE(probed.size(), 1);
        QCOMPARE(probed[0].split(u'\t'), expected);
    }

    void fileArgument_data()
    {
        // Arguments (%P stands for the golden patterns' folder), the exit
        // status, standard output, and the probe's lines: windows shown, titles given.
        QTest::addColumn<QStringList>("args"); QTest::addColumn<int>("status"); QTest::addColumn<QString>("out"); QTest::addColumn<QStringList>("probed");
        const QString window = "zn7-window-probe\tfrmCreatePattern\tText Export Pattern Designer File", title = "zn7-window-title\tfrmCreatePattern\tเครื่องมือสร้าง Pattern File [ Mode ";
        const QString box = "zn7-window-probe\tQMessageBox\tText Export Pattern Designer\t%1\t%2\t";
        QTest::newRow("version") << QStringList("--version") << 0 << "zn7tedsr 1.0\n" << QStringList();
        QTest::newRow("a pattern") << QStringList("%P/basic.PAT") << 0 << "" << QStringList{window, title + "โอนเงินผ่านธนาคาร (Bank Transfer) ] - %P/basic.PAT", box.arg(QMessageBox::Critical).arg(QMessageBox::Yes | QMessageBox::No) + "Save your Data ?"};
        QTest::newRow("no pattern") << QStringList("%P/empty_file.PAT") << 0 << "" << QStringList{window, box.arg(QMessageBox::Information).arg(QMessageBox::Ok) + "รูปแบบไฟล์  PATTERN ไม่ถูกต้อง กรุณาตรวจสอบข้อมูลให้ถูกต้อง", title + " ] - "};
        QTest::newRow("a folder") << QStringList("%P") << 0 << "" << QStringList{window, box.arg(QMessageBox::Critical).arg(QMessageBox::Ok) + "ไม่สามารถอ่านไฟล์ %P ได้ Cannot read the file \"%P\": It is a folder, not a file."};
        QTest::newRow("a missing file") << QStringList("%P/none.PAT") << 0 << "" << QStringList{window, box.arg(QMessageBox::Warning).arg(QMessageBox::Ok) + "ไม่พบไฟล์ %P/none.PAT The file \"%P/none.PAT\" does not exist."};
        QTest::newRow("two files") << QStringList{"a", "b"} << 1 << "" << QStringList();
    }
    // The sample installation beside a copy of the program.
    void fileArgument()
    {
        QFETCH(QStringList, args); QFETCH(QStringList, probed);
        QTemporaryDir root;
        for (const QString name : kRequired)
            QVERIFY(QFile::copy(name == "ZN7Desktop.dat" ? ZN7_SAMPLE_DESKTOP : ZN7_TEST_DATA "/patterns/empty_file.PAT", root.filePath(name)));
        QVERIFY(QFile::copy(ZN7_PROGRAM, root.filePath("zn7tedsr")));
        qputenv("QT_PLUGIN_PATH", ZN7_PROBE_PLUGINS);
        qputenv("QT_QPA_GENERIC_PLUGINS", "zn7windowprobe");
        QProcess run;
        run.start(root.filePath("zn7tedsr"), args.replaceInStrings("%P", ZN7_TEST_DATA "/patterns"));
        QVERIFY2(run.waitForFinished(60000), qPrintable(run.errorString()));
        QTEST(run.exitCode(), "status");
        QTEST(QString::fromUtf8(run.readAllStandardOutput()), "out");
        const QStringList lines = QString::fromUtf8(run.readAllStandardError()).split(u'\n').filter(QRegularExpression("^zn7-window-(probe|title)\t"));
        QCOMPARE(lines, probed.replaceInStrings("%P", QDir::cleanPath(ZN7_TEST_DATA "/patterns")));
    }

    void programAtTheRoot() { QCOMPARE(StartupSequence::programFolder("/"), QString()); }

    // The real program killed (SIGKILL) once it kept a copy of edits made
    // through its Open dialog and grid: the next start offers the copy and,
    // answered Yes, shows the same title (mode, file) and cells; its clean
    // exit, the pattern dropped, removes the copy.
    void restoredAfterKill()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("งาน 1.PAT"), copies = dir.filePath("data/zn7/zn7tedsr");
        QVERIFY(writeBytes(file, "[T];PAYROLL;\r\n[H];[C]:OLD\r\n[D];[F]:{EMPCODE}:10:L::::0\r\n"));
        QProcess edited, restored;
        const auto start = [&](QProcess &program, const QStringList &steps, const char *answers) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("QT_PLUGIN_PATH", ZN7_PROBE_PLUGINS), env.insert("QT_QPA_GENERIC_PLUGINS", "zn7windowprobe"), env.insert("XDG_DATA_HOME", dir.filePath("data"));
            env.insert("ZN7_PROBE_OPEN", file), env.insert("ZN7_PROBE_STEPS", steps.join(u'\n')), env.insert("ZN7_PROBE_ANSWERS", answers);
            program.setProcessEnvironment(env);
            program.start(ZN7_PROGRAM, {});
        };
        const auto shown = [](const QByteArray &out) { return QString::fromUtf8(out).split(u'\n').filter(QRegularExpression("^zn7-window-probe\t\\d")); };
        start(edited, {"trigger mnuOPen", "set 1 1 [C]:NEW:3", "set 2 0 1", "set 2 2 [C]:ยอดรวม:6", "click addRowButton", "set 3 0 0", "set 3 1 [C]:X:1", "dump"}, "");
        QByteArray before;
        QTRY_VERIFY_WITH_TIMEOUT((before += edited.readAllStandardError()).contains("\tdone\n"), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(copies).entryList({"*.recovery"}).isEmpty(), 10000);
        edited.kill();
        QVERIFY(edited.waitForFinished() && edited.exitStatus() == QProcess::CrashExit);
        start(restored, {"dump", "close"}, "yes,no");
        QVERIFY(restored.waitForFinished(30000) && restored.exitCode() == 0);
        QCOMPARE(shown(restored.readAllStandardError()), shown(before));
        QCOMPARE(shown(before).size(), 8);   // the title, three types and four cells
        QCOMPARE(QDir(copies).entryList({"*.recovery"}), QStringList());
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
