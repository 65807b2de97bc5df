// The library tools the designer reads through: number conversion, INI keys,
// key lookups and the selection list.

#include "testsupport.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>

namespace {

QString connectionTo(const QString &path)
{
    const QFileInfo info(path);
    return ScriptedDataTools().BuildConnection(QStringLiteral("ACCESS"), info.path(),
                                               info.fileName(), QStringLiteral("qp71958"), {}, {}, {});
}

} // namespace

class TstLibraryTools final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_codes;   // the codes database

private Q_SLOTS:
    // Codes in the order of Rank; the apostrophe row is the one a hand-built
    // query breaks on.
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // In a folder named with the connection text's own separators.
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("a;Data Source=b")));
        m_codes = m_dir.filePath(QStringLiteral("a;Data Source=b/codes.dat"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
            db.setDatabaseName(m_codes);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("CREATE TABLE Codes (Code TEXT, Name TEXT, Rank INTEGER)"))
                    && query.exec(QStringLiteral("INSERT INTO Codes VALUES ('x', 'Plain x', 1),"
                                                 " ('BANK', 'Bank Transfer', 2), ('O''Neil', 'Apostrophe', 3)")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("writer"));
    }

    void toInteger_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected");   // invalid: no value

        QTest::newRow("plain") << "42" << QVariant(42);
        QTest::newRow("negative with spaces") << " -17 " << QVariant(-17);
        QTest::newRow("grouped") << "1,000" << QVariant(1000);
        QTest::newRow("upper edge") << "32767" << QVariant(32767);
        QTest::newRow("lower edge") << "-32768" << QVariant(-32768);
        QTest::newRow("one above the range") << "32768" << QVariant();
        QTest::newRow("one below the range") << "-32769" << QVariant();
        QTest::newRow("not a number") << "12abc" << QVariant();
        QTest::newRow("empty") << "" << QVariant();
    }
    void toInteger()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, expected);

        const auto valueOf = [](const QString &t) {
            const std::optional<qint16> value = TextTools::ToInteger(t);
            return value ? QVariant(int(*value)) : QVariant();
        };
        QCOMPARE(valueOf(text), expected);
        // What the designer writes, it reads back, also where the group separator is a dot.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QVariant written = expected.isValid() ? valueOf(TextTools::FormatNumber(expected.toInt())) : QVariant();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(written, expected);
    }

    // The reading of the file itself is start-up's test.
    void findKey_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");

        QTest::newRow("in a section") << QByteArray("[Setting]\nCONFIGPATH=/srv/zn7\n") << "/srv/zn7";
        QTest::newRow("in no section") << QByteArray("CONFIGPATH=/srv/zn7") << "/srv/zn7";
        QTest::newRow("first wins") << QByteArray("[A]\nCONFIGPATH=/first\n[B]\nCONFIGPATH=/second\n") << "/first";
        QTest::newRow("backslashes and trailing separator kept")
            << QByteArray("CONFIGPATH=D:\\Data\\\n") << "D:\\Data\\";
        QTest::newRow("key in other case") << QByteArray("ConfigPath=/mixed\n") << "/mixed";
        QTest::newRow("crlf lines") << QByteArray("[S]\r\nCONFIGPATH=/crlf\r\nX=1\r\n") << "/crlf";
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF" "CONFIGPATH=/bom\n") << "/bom";
        QTest::newRow("longer key is another key") << QByteArray("CONFIGPATHOLD=/old\nCONFIGPATH=/new\n") << "/new";
        QTest::newRow("missing key") << QByteArray("[Setting]\nOTHER=/x\n") << "";
    }
    void findKey()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);

        QCOMPARE(IniReader::findKey(content, QStringLiteral("CONFIGPATH")), expected);
    }

    void lookupValue_data()
    {
        QTest::addColumn<QString>("database");   // "codes", "missing" or "random bytes"
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        QTest::newRow("apostrophe in the key") << "codes" << "O'Neil" << "Apostrophe";
        QTest::newRow("injected condition") << "codes" << "x' OR '1'='1" << "";
        QTest::newRow("injected statement") << "codes" << "x'; DROP TABLE Codes; --" << "";
        QTest::newRow("missing database") << "missing" << "BANK" << "";
        QTest::newRow("random bytes") << "random bytes" << "BANK" << "";
    }
    void lookupValue()
    {
        QFETCH(QString, database);
        QFETCH(QString, key);
        QFETCH(QString, expected);

        QTemporaryDir dir;
        const bool codes = database == u"codes";
        const QString path = codes ? m_codes : dir.filePath(QStringLiteral("other.dat"));
        QByteArray noise(4096, '\0');
        QRandomGenerator(20260106).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        QFile file(path);
        QVERIFY(database != u"random bytes" || (file.open(QIODevice::WriteOnly) && file.write(noise) == noise.size()));
        file.close();
        const ScriptedDataTools data;
        const auto lookUp = [&](const QString &value) {
            return data.LookupValue({}, 0, 0, QStringLiteral("Code"), value, QStringLiteral("Name"),
                                    QStringLiteral("Codes"), connectionTo(path));
        };
        QCOMPARE(lookUp(key), expected);
        // The key changed nothing: the table still answers, a missing file stays missing.
        QCOMPARE(lookUp(QStringLiteral("x")), codes ? QStringLiteral("Plain x") : QString());
        QCOMPARE(QFileInfo::exists(path), database != u"missing");
    }

    void selectFromList_data()
    {
        QTest::addColumn<int>("pick");
        QTest::addColumn<QString>("expected");

        QTest::newRow("a row") << 1 << "BANK";
        QTest::newRow("closed without a choice") << -1 << "";
    }
    void selectFromList()
    {
        QFETCH(int, pick);
        QFETCH(QString, expected);

        ScriptedDataTools data;
        data.picks.enqueue(pick);
        QCOMPARE(data.SelectFromList(QStringLiteral("Pick"), QStringLiteral("Code"), QStringLiteral("Code, Name"),
                                     QStringLiteral("Mode, ชื่อ"), QStringLiteral("0, 4000"), QStringLiteral("0,0"),
                                     QStringLiteral("Codes ORDER BY Rank"), connectionTo(m_codes)),
                 expected);
        QCOMPARE(data.requests.size(), 1);
        QCOMPARE(data.requests.first().captions, QStringList({QStringLiteral("Mode"), QStringLiteral("ชื่อ")}));
        QCOMPARE(data.requests.first().widths, QList<int>({0, 4000}));
        QCOMPARE(data.requests.first().rows.size(), 3);
    }

    void modeListLeavesOutAll()
    {
        SampleInstallation sample;
        QVERIFY2(sample.isValid(), "the sample design database is not built");
        ScriptedDataTools data;
        data.pickValue = QStringLiteral("BANK");
        QCOMPARE(data.SelectFromList(QStringLiteral("Mode"), QStringLiteral("TTxMMode"),
                                     QStringLiteral("TTxMMode,TTxMName"), QStringLiteral("Mode,Name"),
                                     QStringLiteral("0,4000"), QStringLiteral("0,0"),
                                     QStringLiteral("Zn7TTextExportMode WHERE TTxMMode <>'ALL' ORDER BY TTxMName"),
                                     connectionTo(sample.designDatabase())),
                 QStringLiteral("BANK"));
        const QList<ListRow> &rows = data.requests.first().rows;
        QVERIFY(rows.size() > 1);
        QVERIFY(std::none_of(rows.cbegin(), rows.cend(), [](const ListRow &row) { return row.at(0) == u"ALL"; }));
    }
};

QTEST_GUILESS_MAIN(TstLibraryTools)
#include "tst_librarytools.moc"
