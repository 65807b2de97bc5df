// The library tools the designer reads through: number conversion, INI keys,
// key lookups and the selection list.

#include "components/selectionlist.h"
#include "testsupport.h"

#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>

class TstLibraryTools final : public QObject
{
    Q_OBJECT

    // The sample design database, with a mode whose code holds an apostrophe,
    // in a folder named with the connection text's own separators.
    SampleInstallation m_sample;
    const QString m_folder = m_sample.filePath("a;Data Source=b");
    QString connectionTo(const QString &file) const { return DialogDataTools().BuildConnection("ACCESS", m_folder, file, {}, {}, {}, {}); }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));   // grouping with a dot, unlike the C locale
        QVERIFY(QDir().mkpath(m_folder) && QFile::copy(m_sample.designDatabase(), m_folder + "/d.dat"));
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "writer");
        db.setDatabaseName(m_folder + "/d.dat");
        QVERIFY(db.open() && QSqlQuery(db).exec("INSERT INTO ZN7TTextExportMode VALUES ('O''NEIL', 'Apostrophe')"));
        db.close();
    }

    // A 16-bit value, the locale's grouping accepted; "-" for no value.
    void toInteger()
    {
        QStringList read;
        for (const char *text : {" -17 ", "1.000", "32767", "-32768", "32768", "-32769", "12abc", ""}) {
            const std::optional<qint16> value = TextTools::ToInteger(text);
            read << (value ? QString::number(*value) : "-");
        }
        QCOMPARE(read, QStringList({"-17", "1000", "32767", "-32768", "-", "-", "-", "-"}));
    }

    // Right-to-left locales put a direction mark before the minus sign; the
    // length box shows numbers that way and must read them back.
    void toIntegerReadsBackWhatTheLocaleWrites()
    {
        for (const QLocale::Language language : {QLocale::Arabic, QLocale::Hebrew, QLocale::Persian, QLocale::Thai}) {
            QLocale::setDefault(QLocale(language));
            const QString shown = TextTools::FormatNumber(-1234);
            QCOMPARE(TextTools::ToInteger(shown), std::optional<qint16>(-1234));
        }
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    // The first key in any section, in any case, with its backslashes; a longer
    // key is another key. A byte order mark and CR LF line ends are read past.
    void findKey()
    {
        const QByteArray ini = "\xEF\xBB\xBF" "X=1\r\n[A]\r\nConfigPathOld=/old\r\nConfigPath=D:\\Data\\\r\n[B]\r\nCONFIGPATH=/b\r\n";
        QCOMPARE(IniReader::findKey(ini, "CONFIGPATH"), "D:\\Data\\");
        QCOMPARE(IniReader::findKey(ini, "X"), "1");
        QCOMPARE(IniReader::findKey(ini, "MISSING"), QString());
    }

    // The key is bound: an apostrophe reads, a quote changes no query. A
    // missing database is not created.
    void lookupValue()
    {
        const auto lookUp = [this](const QString &file, const QString &key) {
            return DialogDataTools().LookupValue({}, 0, 0, "TTxMMode", key, "TTxMName", "ZN7TTextExportMode", connectionTo(file));
        };
        QCOMPARE(lookUp("d.dat", "O'NEIL"), "Apostrophe");
        QCOMPARE(lookUp("d.dat", "x' OR '1'='1"), QString());
        QCOMPARE(lookUp("missing.dat", "O'NEIL"), QString());
        QVERIFY(!QFile::exists(m_folder + "/missing.dat"));
    }

    // The result column of the row picked, then "" once closed without a choice.
    void selectFromList()
    {
        ScriptedDataTools data;
        data.pickValue = "O'NEIL";
        for (const QString picked : {"Apostrophe", ""}) {
            QCOMPARE(data.SelectFromList("Mode", "TTxMName", "TTxMMode, TTxMName", "Mode, ชื่อ", "0, 4000", "0,0",
                                         "ZN7TTextExportMode ORDER BY TTxMMode DESC", connectionTo("d.dat")), picked);
            data.pickValue.clear();
        }
        const ListRequest request = data.requests.value(0);
        QCOMPARE(request.captions, QStringList({"Mode", "ชื่อ"}));
        QCOMPARE(request.rows.size(), 6);
        QCOMPARE(request.rows.first(), QStringList({"VENDOR", "จ่ายชำระเจ้าหนี้ (Vendor Payment)"}));
        // The list shown hides a column of width 0.
        SelectionListDialog shown(request);
        QVERIFY(shown.list()->isColumnHidden(0) && !shown.list()->isColumnHidden(1));
    }
};

QTEST_MAIN(TstLibraryTools)
#include "tst_librarytools.moc"
