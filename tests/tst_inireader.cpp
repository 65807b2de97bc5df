// INI key lookup: start-up takes the data folder from CONFIGPATH without a
// section name, and uses the value exactly as read.

#include "components/inireader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TstIniReader final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findKey_data();
    void findKey();
    void readKey_data();
    void readKey();
};

void TstIniReader::findKey_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");

    QTest::newRow("in a section") << QByteArray("[Setting]\nCONFIGPATH=/srv/zn7\n") << "/srv/zn7";
    QTest::newRow("in no section") << QByteArray("CONFIGPATH=/srv/zn7") << "/srv/zn7";
    QTest::newRow("first wins across sections")
        << QByteArray("[One]\nCONFIGPATH=/first\n[Two]\nCONFIGPATH=/second\n") << "/first";
    QTest::newRow("backslashes and trailing separator kept")
        << QByteArray("CONFIGPATH=D:\\Data\\\n") << "D:\\Data\\";
    QTest::newRow("trailing slash kept") << QByteArray("CONFIGPATH=/data/\n") << "/data/";
    QTest::newRow("key in other case") << QByteArray("ConfigPath=/mixed\n") << "/mixed";
    QTest::newRow("crlf lines") << QByteArray("[S]\r\nCONFIGPATH=D:\\Data\\\r\nX=1\r\n") << "D:\\Data\\";
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF" "CONFIGPATH=/bom\n") << "/bom";
    QTest::newRow("spaces around the equals sign") << QByteArray("  CONFIGPATH  =  /srv/zn7  \n")
                                                   << "/srv/zn7";
    QTest::newRow("spaces inside the value kept")
        << QByteArray("CONFIGPATH=C:\\Program Files\\ZN7 Data\n") << "C:\\Program Files\\ZN7 Data";
    QTest::newRow("thai path") << QByteArray("CONFIGPATH=/ข้อมูล/กลาง\n") << QStringLiteral("/ข้อมูล/กลาง");
    QTest::newRow("empty value") << QByteArray("CONFIGPATH=\nOTHER=/x\n") << "";
    QTest::newRow("missing key") << QByteArray("[Setting]\nOTHER=/x\n") << "";
    QTest::newRow("longer key is another key")
        << QByteArray("CONFIGPATHOLD=/old\nCONFIGPATH=/new\n") << "/new";
    QTest::newRow("key named in a value") << QByteArray("NOTE=CONFIGPATH=/bad\n") << "";
    QTest::newRow("commented out") << QByteArray(";CONFIGPATH=/old\nCONFIGPATH=/live\n") << "/live";
}

void TstIniReader::findKey()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);

    QCOMPARE(IniReader::findKey(content, QStringLiteral("CONFIGPATH")), expected);
}

void TstIniReader::readKey_data()
{
    QTest::addColumn<QString>("kind");   // "file", "folder" or "none"
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");

    QTest::newRow("windows file") << "file"
                                  << QByteArray("\xEF\xBB\xBF[Path]\r\nCONFIGPATH=D:\\Data\\\r\n")
                                  << "D:\\Data\\";
    QTest::newRow("file without the key") << "file" << QByteArray("[Path]\nPRINTER=lp0\n") << "";
    QTest::newRow("missing file") << "none" << QByteArray() << "";
    QTest::newRow("folder in its place") << "folder" << QByteArray() << "";
}

void TstIniReader::readKey()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = QStringLiteral("ZN7ConfigPath.ini");
    const QString path = dir.filePath(name);
    if (kind == u"file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    } else if (kind == u"folder") {
        QVERIFY(QDir(dir.path()).mkdir(name));
    }

    QCOMPARE(IniReader().ReadKey(path, QStringLiteral("CONFIGPATH")), expected);
    QCOMPARE(QFileInfo::exists(path), kind != u"none");
}

QTEST_GUILESS_MAIN(TstIniReader)
#include "tst_inireader.moc"
