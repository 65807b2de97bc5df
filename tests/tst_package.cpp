// The Debian package as a user gets it: made by CPack from this build, unpacked with dpkg -x,
// checked with the distribution's validators and run from the unpacked tree on its own data.
#include <QtTest>

class TstPackage final : public QObject
{
    Q_OBJECT
    QTemporaryDir m_work;   // package.deb and the tree unpacked from it, root/
    QString m_output;       // of the last run
    // Runs a shell command line in m_work; its exit status, -1 when it did not finish.
    int run(const QString &line)
    {
        QProcess process;
        process.setWorkingDirectory(m_work.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start("sh", {"-c", line});
        const bool finished = process.waitForFinished(180000) && process.exitStatus() == QProcess::NormalExit;
        m_output = QString::fromUtf8(process.readAll());
        return finished ? process.exitCode() : -1;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(run("\"" ZN7_CPACK "\" --config \"" ZN7_CPACK_CONFIG "\" -B . && mv *.deb package.deb && dpkg -x package.deb root") == 0,
                 qPrintable(m_output));
        qputenv("QT_PLUGIN_PATH", ZN7_PROBE_PLUGINS);   // the window probe reports what the designer shows
        qputenv("QT_QPA_GENERIC_PLUGINS", "zn7windowprobe");
    }

    void checks_data()
    {
        QTest::addColumn<QString>("line"); QTest::addColumn<int>("status"); QTest::addColumn<QString>("output");
        QTest::newRow("desktop entry") << "desktop-file-validate root/usr/share/applications/zn7tedsr.desktop" << 0 << "";
        QTest::newRow("AppStream") << "appstreamcli validate --no-net root/usr/share/metainfo/org.zn7.zn7tedsr.metainfo.xml" << 0 << "";
        QTest::newRow("lintian") << "lintian --fail-on warning package.deb" << 0 << "";
        QTest::newRow("icons") << "cd root/usr/share/icons/hicolor && test -s scalable/apps/zn7tedsr.svg -a -s 48x48/apps/zn7tedsr.png"
                                  " -a -s 256x256/apps/zn7tedsr.png" << 0 << "";
        QTest::newRow("file type: a glob of any case, the type's name and comment") << "update-mime-database root/usr/share/mime && cd root/usr/share/mime && grep -qx "
                "'50:application/x-zn7-pattern:\\*\\.pat' globs2 && cat application/x-zn7-pattern.xml" << 0 << "<comment>Text export pattern</comment>";
        QTest::newRow("designer through bin/, on the unpacked data") << "root/usr/bin/zn7tedsr" << 0 << "zn7-window-probe\tfrmCreatePattern\t";
        QTest::newRow("designer without config.dat") << "cd root/usr && mv share/zn7tedsr/data/config.dat . && bin/zn7tedsr; s=$?; "
                                                        "mv config.dat share/zn7tedsr/data; exit $s" << 1 << "zn7-window-probe\tQMessageBox\t";
        QTest::newRow("zn7pat through bin/, on the unpacked data") << "root/usr/bin/zn7pat check \"" ZN7_TEST_DATA "/patterns/basic.PAT\"" << 0 << "";
    }
    void checks()
    {
        QFETCH(QString, line); QFETCH(int, status); QFETCH(QString, output);
        QVERIFY2(run(line) == status && m_output.contains(output), qPrintable(m_output));
    }
};

QTEST_MAIN(TstPackage)
#include "tst_package.moc"
