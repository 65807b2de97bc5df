// The library tools the designer reads through: number conversion, INI keys
// and the design database.

#include "components/designdatabase.h"
#include "testsupport.h"

#include <QDir>
#include <QSqlQuery>
#include <QTest>

class TstLibraryTools final : public QObject
{
    Q_OBJECT

    // The sample design database, with a mode whose code and field hold
    // apostrophes, in a folder named with the connection text's own separators.
    SampleInstallation m_sample;
    const QString m_folder = m_sample.filePath("a;Data Source=b");
    DesignDatabase database(const QString &file) const
    {
        return DesignDatabase(DataTools().BuildConnection("ACCESS", m_folder, file, {}, {}, {}, {}));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));   // grouping with a dot, unlike the C locale
        QVERIFY(QDir().mkpath(m_folder) && QFile::copy(m_sample.designDatabase(), m_folder + "/d.dat"));
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "writer");
        db.setDatabaseName(m_folder + "/d.dat");
        QVERIFY(db.open() && QSqlQuery(db).exec("INSERT INTO ZN7TTextExportMode VALUES ('O''NEIL', 'Apostrophe')")
                && QSqlQuery(db).exec("INSERT INTO ZN7TTextExportField VALUES ('O''NEIL', '{O''Q}', 'q', 'x', 'y')"));
        db.close();
    }

    // A 16-bit value, the locale's grouping accepted; "-" for no value.
    void toInteger()
    {
        QStringList read;
        // Right-to-left locales write a direction mark before the minus sign.
        for (const QString text : {" -17 ", "\u061C-17", "\u200F-17", "1.000", "32767", "-32768", "32768", "-32769", "12abc", ""}) {
            const std::optional<qint16> value = TextTools::ToInteger(text);
            read << (value ? QString::number(*value) : "-");
        }
        QCOMPARE(read, QStringList({"-17", "-17", "-17", "1000", "32767", "-32768", "-", "-", "-", "-"}));
    }

    // The first key in any section, in any case, with its backslashes; a longer
    // key is another key. A byte order mark and CR LF line ends are read past.
    void findKey()
    {
        const QByteArray ini = "\xEF\xBB\xBF" "X=1\r\n[A]\r\nConfigPathOld=/old\r\nConfigPath=D:\\Data\\\r\n[B]\r\nCONFIGPATH=/b\r\n"
                               " Spaced =  a = b  \r\n";
        QCOMPARE(IniReader::findKey(ini, "CONFIGPATH"), "D:\\Data\\");
        QCOMPARE(IniReader::findKey(ini, "X"), "1");
        QCOMPARE(IniReader::findKey(ini, "spaced"), "a = b");   // split at the first "=", trimmed
        QCOMPARE(IniReader::findKey(ini, "MISSING"), QString());
    }

    // An INI file is read no further than its first MiB, and no value is
    // taken from a line that runs past it.
    void readKeyWithinAMiB_data()
    {
        QTest::addColumn<QByteArray>("ini"); QTest::addColumn<QString>("value");
        const QByteArray comments = QByteArray("; a comment line of thirty-two.\n").repeated(32768 - 1);   // 1 MiB less 32 bytes
        QTest::newRow("key within") << comments + "CONFIGPATH=/data\n" << "/data";
        QTest::newRow("key's line across the bound") << comments + "CONFIGPATH=/data/far/beyond/the/bound\n" << "";
        QTest::newRow("key after the bound") << comments + QByteArray(64, ';') + "\nCONFIGPATH=/data\n" << "";
    }
    void readKeyWithinAMiB()
    {
        QFETCH(QByteArray, ini);
        QVERIFY(writeBytes(m_sample.filePath("big.ini"), ini));
        QTEST(IniReader().ReadKey(m_sample.filePath("big.ini"), "CONFIGPATH"), "value");
    }

    // Modes and fields, values bound: an apostrophe reads, a quote changes
    // no query. (A missing, damaged or locked database: tst_faults.)
    void designDatabase()
    {
        const std::optional<QList<WorkingMode>> modes = database("d.dat").modes();
        QVERIFY(modes);
        QCOMPARE(modes->size(), 5);   // every mode but ALL, by name
        QCOMPARE(modes->first(), (WorkingMode{"O'NEIL", "Apostrophe"}));
        QCOMPARE(modes->last().code, "BANK");   // Thai names sort after Latin ones
        QCOMPARE(database("d.dat").modeName("O'NEIL"), std::optional<QString>("Apostrophe"));
        QCOMPARE(database("d.dat").modeName("x' OR '1'='1"), std::optional<QString>(""));
        const std::optional<QList<DesignField>> fields = database("d.dat").fields("O'NEIL");
        QVERIFY(fields);
        QCOMPARE(fields->size(), 8);   // its own and those of ALL
        QVERIFY(fields->contains(DesignField{"O'Q", "q", "x", "y"}));
        QCOMPARE(database("d.dat").fields("x') OR ('1'='1")->size(), 7);   // ALL's alone
    }
};

QTEST_GUILESS_MAIN(TstLibraryTools)
#include "tst_librarytools.moc"
