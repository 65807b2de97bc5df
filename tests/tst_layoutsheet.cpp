// The layout sheet from the designer's File menu: exported by the file's
// suffix as CSV (the records zn7pat writes), HTML or PDF, and printed.

#include "testsupport.h"

#include <QtTest>
#include <QtWidgets>

class TstLayoutSheet final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sheet_data()
    {
        // The file chosen ("" cancels), printed or exported; the bytes it begins with, texts it holds, the notice given.
        QTest::addColumn<QString>("file"); QTest::addColumn<bool>("print"); QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("texts"); QTest::addColumn<QString>("told");
        const QByteArray csv = readBytes(ZN7_TEST_DATA "/zn7pat/breaks.csv");
        QTest::newRow("CSV, as zn7pat writes it") << "sheet.csv" << false << csv << QStringList() << "";
        QTest::newRow("HTML") << "sheet.HTML" << false << QByteArray("<!DOCTYPE html>")
            << QStringList{"<title>Layout of %P</title>", "Mode: BANK — โอนเงินผ่านธนาคาร (Bank Transfer)<br>Date: " + QDate::currentDate().toString(Qt::ISODate),
                           "<h2>Row 2 — LOOP — total length 24</h2>", "<td>BANKCODE</td><td>รหัสธนาคารผู้รับ</td><td class=\"n\">2</td>",
                           "<td class=\"s\">AB↵C,&quot;D&quot;</td>"} << "";
        QTest::newRow("PDF") << "sheet.pdf" << false << QByteArray("%PDF-") << QStringList() << "";
        QTest::newRow("printed") << "print.pdf" << true << QByteArray("%PDF-") << QStringList() << "";
        QTest::newRow("another suffix") << "sheet.txt" << false << QByteArray() << QStringList()
                                        << "Cannot export the layout to \"%1\": The file name must end in .csv, .html or .pdf.";
        QTest::newRow("export cancelled") << "" << false << QByteArray() << QStringList() << "";
    }
    void sheet()
    {
        QFETCH(QString, file); QFETCH(bool, print); QFETCH(QByteArray, bytes); QFETCH(QStringList, texts); QFETCH(QString, told);
        DesignerFixture f;
        const QString pattern = f.open("breaks.PAT", readBytes(ZN7_TEST_DATA "/zn7pat/breaks.PAT"));
        texts.replaceInStrings("%P", pattern);
        if (!file.isEmpty())
            (print ? f.prompts.printTo : f.prompts.files.emplaceBack()) = f.path(file);
        f.trigger(print ? "mnuPrintLayout" : "mnuExportLayout");
        QCOMPARE(f.prompts.printDialogs, print ? 1 : 0);
        QCOMPARE(f.prompts.fileCalls.size() > 1 ? f.prompts.fileCalls.constLast().current : "", print ? "" : f.path("breaks.pdf"));
        QCOMPARE(f.prompts.told.join(""), told.isEmpty() ? "" : told.arg(f.path(file)).prepend("ไม่สามารถส่งออกไฟล์ " + f.path(file) + " ได้\n"));
        const QByteArray written = readBytes(f.path(file));
        QVERIFY2(written.startsWith(bytes) && (bytes != "%PDF-" || written.size() > 10000), written.left(200));
        QCOMPARE(written.size() == bytes.size(), bytes.isEmpty() || file.endsWith(".csv"));   // the CSV whole
        for (const QString &text : std::as_const(texts))
            QVERIFY2(written.contains(text.toUtf8()), qPrintable(text));
    }
};

QTEST_MAIN(TstLayoutSheet)
#include "tst_layoutsheet.moc"
