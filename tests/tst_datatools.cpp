// Data access: connection texts, key lookups and the selection list, on an
// SQLite file made by the test and on the sample design database.

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

// Codes and names; the apostrophe row is the one a hand-built query breaks on.
bool writeCodesDatabase(const QString &path)
{
    const QString name = QStringLiteral("tst-datatools-writer");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            ok = query.exec(QStringLiteral("CREATE TABLE Codes (Code TEXT, Name TEXT, Rank INTEGER)"))
                && query.exec(QStringLiteral(
                    "INSERT INTO Codes VALUES ('BANK', 'Bank Transfer', 2), ('O''Neil', 'Apostrophe', 3),"
                    " ('x', 'Plain x', 1), ('ภาษี', 'ภาษีหัก ณ ที่จ่าย', 4)"));
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace

class TstDataTools final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void connectionRoundTrip_data();
    void connectionRoundTrip();
    void lookupValue_data();
    void lookupValue();
    void lookupValueWithoutDatabase_data();
    void lookupValueWithoutDatabase();
    void selectFromList_data();
    void selectFromList();
    void modeListOffersNoAllRow();

private:
    QTemporaryDir m_dir;
    QString m_codes;
};

void TstDataTools::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_codes = m_dir.filePath(QStringLiteral("codes.dat"));
    QVERIFY(writeCodesDatabase(m_codes));
}

void TstDataTools::connectionRoundTrip_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("plain") << "/srv/zn7" << "ZN7Desktop.dat";
    QTest::newRow("semicolon and equals in the folder") << "/srv/a;b=c" << "ZN7Desktop.dat";
    QTest::newRow("key text in the folder") << "/srv/x;Data Source=/etc" << "config.dat";
    QTest::newRow("trailing separator kept") << "/srv/zn7/" << "ZN7Command.dat";
    QTest::newRow("spaces and thai") << "/home/ผู้ใช้/My Data" << "ZN7Center.dat";
}

void TstDataTools::connectionRoundTrip()
{
    QFETCH(QString, folder);
    QFETCH(QString, fileName);

    const QString text = ScriptedDataTools().BuildConnection(
        QStringLiteral("ACCESS"), folder, fileName, QStringLiteral("qp71958"), {}, {}, {});
    QCOMPARE(DataTools::databasePath(text), folder + u'/' + fileName);
}

void TstDataTools::lookupValue_data()
{
    QTest::addColumn<QString>("keyValue");
    QTest::addColumn<QString>("resultField");
    QTest::addColumn<QString>("expected");

    const QString name = QStringLiteral("Name");
    QTest::newRow("plain key") << "BANK" << name << "Bank Transfer";
    QTest::newRow("apostrophe in the key") << "O'Neil" << name << "Apostrophe";
    QTest::newRow("thai key") << QStringLiteral("ภาษี") << name << QStringLiteral("ภาษีหัก ณ ที่จ่าย");
    QTest::newRow("number as text") << "x" << "Rank" << "1";
    QTest::newRow("comparison is exact") << "bank" << name << "";
    QTest::newRow("missing key") << "NONE" << name << "";
    QTest::newRow("injected condition") << "x' OR '1'='1" << name << "";
    QTest::newRow("injected statement") << "x'; DROP TABLE Codes; --" << name << "";
    QTest::newRow("unknown result field") << "BANK" << "Nope" << "";
}

void TstDataTools::lookupValue()
{
    QFETCH(QString, keyValue);
    QFETCH(QString, resultField);
    QFETCH(QString, expected);

    const ScriptedDataTools data;
    const QString connection = connectionTo(m_codes);
    QCOMPARE(data.LookupValue({}, 0, 0, QStringLiteral("Code"), keyValue, resultField,
                              QStringLiteral("Codes"), connection),
             expected);
    // Whatever the key held, the table is still there.
    QCOMPARE(data.LookupValue({}, 0, 0, QStringLiteral("Code"), QStringLiteral("x"),
                              QStringLiteral("Name"), QStringLiteral("Codes"), connection),
             QStringLiteral("Plain x"));
}

void TstDataTools::lookupValueWithoutDatabase_data()
{
    QTest::addColumn<bool>("createFile");
    QTest::addColumn<QByteArray>("content");

    QByteArray noise(4096, '\0');
    QRandomGenerator generator(20260106);
    for (char &c : noise)
        c = char(generator.bounded(256));
    QTest::newRow("missing file") << false << QByteArray();
    QTest::newRow("empty file") << true << QByteArray();
    QTest::newRow("random bytes") << true << noise;
}

void TstDataTools::lookupValueWithoutDatabase()
{
    QFETCH(bool, createFile);
    QFETCH(QByteArray, content);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("ZN7Desktop.dat"));
    if (createFile) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QCOMPARE(ScriptedDataTools().LookupValue({}, 0, 0, QStringLiteral("TTxMMode"),
                                             QStringLiteral("BANK"), QStringLiteral("TTxMName"),
                                             QStringLiteral("ZN7TTextExportMode"), connectionTo(path)),
             QString());
    // A missing database stays missing; a file that is there is left as it was.
    QCOMPARE(QFileInfo::exists(path), createFile);
    if (createFile) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
}

void TstDataTools::selectFromList_data()
{
    QTest::addColumn<QString>("database");   // "codes" or "missing"
    QTest::addColumn<QString>("resultField");
    QTest::addColumn<int>("pick");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first row") << "codes" << "Code" << 0 << "x";
    QTest::newRow("row with an apostrophe") << "codes" << "Code" << 2 << "O'Neil";
    QTest::newRow("result from the second column") << "codes" << "Name" << 1 << "Bank Transfer";
    QTest::newRow("closed without a choice") << "codes" << "Code" << -1 << "";
    QTest::newRow("row past the end") << "codes" << "Code" << 4 << "";
    QTest::newRow("result field not listed") << "codes" << "Rank" << 0 << "";
    QTest::newRow("missing database") << "missing" << "Code" << 0 << "";
}

void TstDataTools::selectFromList()
{
    QFETCH(QString, database);
    QFETCH(QString, resultField);
    QFETCH(int, pick);
    QFETCH(QString, expected);

    const QString path = database == u"codes" ? m_codes : m_dir.filePath(QStringLiteral("none.dat"));
    ScriptedDataTools data;
    data.picks.enqueue(pick);
    QCOMPARE(data.SelectFromList(QStringLiteral("เลือก"), resultField, QStringLiteral("Code, Name"),
                                 QStringLiteral("Mode, ชื่อ"), QStringLiteral("0, 4000"),
                                 QStringLiteral("0,0"), QStringLiteral("Codes ORDER BY Rank"),
                                 connectionTo(path)),
             expected);

    // The list opens once, with the parsed captions and widths and the rows
    // in the source's order; empty when the database is missing.
    QCOMPARE(data.requests.size(), 1);
    const ListRequest &request = data.requests.first();
    QCOMPARE(request.title, QStringLiteral("เลือก"));
    QCOMPARE(request.captions, QStringList({QStringLiteral("Mode"), QStringLiteral("ชื่อ")}));
    QCOMPARE(request.widths, QList<int>({0, 4000}));
    QList<ListRow> rows;
    if (database == u"codes") {
        rows = {{QStringLiteral("x"), QStringLiteral("Plain x")},
                {QStringLiteral("BANK"), QStringLiteral("Bank Transfer")},
                {QStringLiteral("O'Neil"), QStringLiteral("Apostrophe")},
                {QStringLiteral("ภาษี"), QStringLiteral("ภาษีหัก ณ ที่จ่าย")}};
    }
    QCOMPARE(request.rows, rows);
    QVERIFY(QFileInfo::exists(path) == (database == u"codes"));
}

void TstDataTools::modeListOffersNoAllRow()
{
    SampleInstallation sample;
    QVERIFY2(sample.isValid(), "the sample design database is not built");

    ScriptedDataTools data;
    data.pickValue = QStringLiteral("BANK");
    QCOMPARE(data.SelectFromList(
                 QStringLiteral("เลือกโหมดการทำงาน"), QStringLiteral("TTxMMode"),
                 QStringLiteral("TTxMMode,TTxMName"), QStringLiteral("Mode,ชื่อโหมด"),
                 QStringLiteral("0,4000"), QStringLiteral("0,0"),
                 QStringLiteral("Zn7TTextExportMode WHERE TTxMMode <>'ALL' ORDER BY TTxMName"),
                 connectionTo(sample.designDatabase())),
             QStringLiteral("BANK"));

    QCOMPARE(data.requests.size(), 1);
    const QList<ListRow> &rows = data.requests.first().rows;
    QVERIFY(rows.size() > 1);
    QStringList names;
    for (const ListRow &row : rows) {
        QVERIFY2(row.at(0) != QLatin1String("ALL"), "the common fields are offered as a mode");
        names.append(row.at(1));
    }
    QVERIFY(std::is_sorted(names.cbegin(), names.cend()));
}

QTEST_GUILESS_MAIN(TstDataTools)
#include "tst_datatools.moc"
