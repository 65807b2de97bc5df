// The Debian package as a user gets it: made by CPack from this build,
// unpacked with dpkg -x into a temporary folder, checked with the
// distribution's validators and lintian, and its programs run from there on
// the data installed with them.

#include "testsupport.h"

#include <QImage>
#include <QtTest>

namespace {

// Runs a program to its end; its exit status, -1 when it did not start or
// crashed. Its output, both channels, goes to `output`.
int run(const QString &program, const QStringList &arguments, QByteArray &output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(180000) && process.exitStatus() == QProcess::NormalExit;
    output = process.readAll();
    return finished ? process.exitCode() : -1;
}

} // namespace

class TstPackage final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_deb;
    QString unpacked(const QString &path) const { return m_work.filePath("root/" + path); }

private Q_SLOTS:
    void initTestCase()
    {
        QByteArray log;
        QVERIFY2(run(ZN7_CPACK, {"--config", ZN7_CPACK_CONFIG, "-B", m_work.path()}, log) == 0, log.constData());
        const QStringList debs = QDir(m_work.path()).entryList({"*.deb"});
        QCOMPARE(debs.size(), 1);
        m_deb = m_work.filePath(debs[0]);
        QVERIFY2(run("dpkg", {"-x", m_deb, unpacked({})}, log) == 0, log.constData());
        // The file types of the unpacked tree before the system's.
        qputenv("XDG_DATA_DIRS", unpacked("usr/share").toUtf8() + ":/usr/share");
    }

    void validators_data()
    {
        QTest::addColumn<QStringList>("command");   // its last argument a file of the tree, "" for the package
        QTest::newRow("desktop entry") << QStringList{"desktop-file-validate", "usr/share/applications/zn7tedsr.desktop"};
        QTest::newRow("AppStream") << QStringList{"appstreamcli", "validate", "--no-net", "usr/share/metainfo/org.zn7.zn7tedsr.metainfo.xml"};
        QTest::newRow("lintian") << QStringList{"lintian", "--fail-on", "error", ""};
    }
    void validators()
    {
        QFETCH(QStringList, command);
        const QString file = command.takeLast(), program = command.takeFirst();
        QByteArray log;
        QVERIFY2(run(program, command << (file.isEmpty() ? m_deb : unpacked(file)), log) == 0, log.constData());
        qInfo().noquote() << log.trimmed();   // lintian's warnings, for the record
    }

    void icons_data()
    {
        QTest::addColumn<QString>("icon"); QTest::addColumn<int>("size");   // 0 for the drawing
        QTest::newRow("scalable") << "scalable/apps/zn7tedsr.svg" << 0;
        QTest::newRow("48") << "48x48/apps/zn7tedsr.png" << 48;
        QTest::newRow("256") << "256x256/apps/zn7tedsr.png" << 256;
    }
    void icons()
    {
        QFETCH(QString, icon); QFETCH(int, size);
        const QString path = unpacked("usr/share/icons/hicolor/" + icon);
        QVERIFY2(QFileInfo(path).size() > 0, qPrintable(path));
        QVERIFY(size == 0 || QImage(path).size() == QSize(size, size));
    }

    // A pattern file is one whatever the case of its extension.
    void fileType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("upper case") << "basic.PAT";
        QTest::newRow("lower case") << "basic.pat";
    }
    void fileType()
    {
        QFETCH(QString, name);
        const QString path = m_work.filePath(name);
        QVERIFY(QFile::exists(path) || QFile::copy(ZN7_TEST_DATA "/patterns/basic.PAT", path));
        const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
        QCOMPARE(type.name(), "application/x-zn7-pattern");
        QCOMPARE(type.comment(), "Text export pattern");
    }

    // Through bin/'s link, on the data folder the package installed, not on
    // one that happens to be at /usr/share on this machine.
    void designerStarts_data()
    {
        QTest::addColumn<QString>("removed"); QTest::addColumn<QString>("window"); QTest::addColumn<int>("status");
        QTest::newRow("as unpacked") << "" << "frmCreatePattern" << 0;
        QTest::newRow("without its config.dat") << "usr/share/zn7tedsr/data/config.dat" << "QMessageBox" << 1;
    }
    void designerStarts()
    {
        QFETCH(QString, removed); QFETCH(QString, window); QFETCH(int, status);
        QVERIFY(removed.isEmpty() || QFile::rename(unpacked(removed), m_work.filePath("away")));
        const auto restore = qScopeGuard([&] { QFile::rename(m_work.filePath("away"), unpacked(removed)); });
        qputenv("QT_PLUGIN_PATH", ZN7_PROBE_PLUGINS);
        qputenv("QT_QPA_GENERIC_PLUGINS", "zn7windowprobe");
        QByteArray log;
        QCOMPARE(run(unpacked("usr/bin/zn7tedsr"), {}, log), status);
        const QStringList probed = QString::fromUtf8(log).split(u'\n').filter("zn7-window-probe\t");
        QCOMPARE(probed.size(), 1);
        QCOMPARE(probed[0].section(u'\t', 1, 1), window);
    }

    void commandLineTool()
    {
        const QString tool = unpacked("usr/bin/zn7pat");
        if (!QFileInfo::exists(tool))
            QSKIP("zn7pat is missing: the package holds no bin/zn7pat");
        QByteArray log;
        QVERIFY2(run(tool, {"check", ZN7_TEST_DATA "/patterns/basic.PAT"}, log) == 0, log.constData());
    }
};

QTEST_MAIN(TstPackage)
#include "tst_package.moc"
