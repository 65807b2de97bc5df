// The real executable, copied into a temporary program folder and run
// offscreen. The window probe plugin (windowprobe/) reports every window the
// process shows and answers it as a user would, so the refusal to start can
// be seen from outside: one critical message box, no designer window, and
// the process ends once the box is closed.

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct ShownWindow
{
    QString className;
    QString title;
    int icon = -1;
    int buttons = -1;
    QString text;
};

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QList<ShownWindow> shown;
    QString errors;
};

QString unescape(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\\' && i + 1 < text.size()) {
            const QChar next = text.at(++i);
            out += next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next;
        } else {
            out += text.at(i);
        }
    }
    return out;
}

Run runProgram(const QString &programFolder, const QString &workingFolder)
{
    Run run;
    const QString executable = programFolder + QStringLiteral("/zn7tedsr");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(ZN7_PROBE_PLUGINS));
    environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("zn7windowprobe"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder);
    process.start(executable, {});
    if (!process.waitForStarted(10000)) {
        run.errors = process.errorString();
        return run;
    }
    run.finished = process.waitForFinished(60000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    const QString output = QString::fromUtf8(process.readAllStandardError());
    for (const QString &line : output.split(u'\n')) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() != 7 || fields.at(0) != QLatin1String("zn7-window-probe")) {
            if (!line.isEmpty())
                run.errors += line + u'\n';
            continue;
        }
        run.shown.append({fields.at(2), unescape(fields.at(3)), fields.at(4).toInt(),
                          fields.at(5).toInt(), unescape(fields.at(6))});
    }
    return run;
}

QList<ShownWindow> ofClass(const QList<ShownWindow> &shown, const char *className)
{
    QList<ShownWindow> out;
    for (const ShownWindow &window : shown) {
        if (window.className == QLatin1String(className))
            out.append(window);
    }
    return out;
}

} // namespace

class TstStartupProcess final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void run_data();
    void run();
};

void TstStartupProcess::run_data()
{
    QTest::addColumn<QStringList>("dataFiles");
    QTest::addColumn<bool>("starts");

    QTest::newRow("no data files") << QStringList() << false;
    QTest::newRow("config.dat missing")
        << QStringList{QStringLiteral("ZN7Command.dat"), QStringLiteral("ZN7Center.dat"),
                       QStringLiteral("ZN7Desktop.dat"), QStringLiteral("ZN7Database.mdb")}
        << false;
    // The probe sees the designer window when there is one.
    QTest::newRow("complete installation")
        << QStringList{QStringLiteral("ZN7Command.dat"), QStringLiteral("ZN7Center.dat"),
                       QStringLiteral("ZN7Desktop.dat"), QStringLiteral("config.dat")}
        << true;
}

void TstStartupProcess::run()
{
    QFETCH(QStringList, dataFiles);
    QFETCH(bool, starts);

    QTemporaryDir program;
    QTemporaryDir elsewhere;
    QVERIFY(program.isValid() && elsewhere.isValid());
    const QString executable = program.filePath(QStringLiteral("zn7tedsr"));
    QVERIFY(QFile::copy(QStringLiteral(ZN7_PROGRAM), executable));
    QVERIFY(QFile::setPermissions(executable, QFile::ReadOwner | QFile::WriteOwner
                                                  | QFile::ExeOwner));
    for (const QString &name : dataFiles) {
        QFile file(program.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    // Run from another folder: the data is found beside the executable.
    const Run run = runProgram(program.path(), elsewhere.path());
    QVERIFY2(run.finished, qPrintable(QStringLiteral("the program did not end: ") + run.errors));

    const QList<ShownWindow> boxes = ofClass(run.shown, "QMessageBox");
    const QList<ShownWindow> designers = ofClass(run.shown, "frmCreatePattern");
    if (starts) {
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(boxes.size(), 0);
        QCOMPARE(designers.size(), 1);
        QCOMPARE(designers.first().title, QStringLiteral("Text Export Pattern Designer File"));
        return;
    }
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.shown.size(), 1);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().text,
             QStringLiteral("ไม่พบไฟล์ระบบ กรุณาติดตั้งโปรแกรมใหม่ หรือติดต่อผู้ดูแลระบบ"));
    QCOMPARE(boxes.first().icon, int(QMessageBox::Critical));
    QCOMPARE(boxes.first().buttons, int(QMessageBox::Ok));
    QCOMPARE(boxes.first().title, QStringLiteral("Text Export Pattern Designer"));
    QCOMPARE(designers.size(), 0);
}

QTEST_GUILESS_MAIN(TstStartupProcess)
#include "tst_startupprocess.moc"
