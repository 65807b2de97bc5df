// The layout sheet from the designer's File menu: exported by the file's
// suffix as CSV (the records zn7pat writes), HTML or PDF, and printed.

#include "testsupport.h"

#include "designer/patternfile.h"
#include "designer/patternlayout.h"
#include "designer/gui/previewpanel.h"

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

    // The rows of a pattern as the written file, the layout records, the
    // layout sheet and the whole-pattern preview each give them: the same,
    // whatever empty or removed rows the grid holds.
    // A device that stops taking bytes (a full disk) fails the layout in
    // every form, with the device's reason, so Export Layout and zn7pat
    // never call a cut-short layout written.
    void layoutOnAFullDevice_data()
    {
        QTest::addColumn<PatternLayout::Format>("format");
        QTest::newRow("text") << PatternLayout::Format::Text;
        QTest::newRow("csv") << PatternLayout::Format::Csv;
        QTest::newRow("json") << PatternLayout::Format::Json;
    }
    void layoutOnAFullDevice()
    {
        QFETCH(PatternLayout::Format, format);
        GridTableModel grid;
        GridLayout::layOut(grid);
        grid.AddRow();
        grid.SetCellText(1, GridLayout::kFirstFieldColumn, QStringLiteral("[C]:A:1"));
        QFile full(QStringLiteral("/dev/full"));
        QVERIFY(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QString error;
        QVERIFY(!PatternLayout::write(full, format, grid, {}, &error));
        QVERIFY2(!error.isEmpty(), "no reason given");
    }

    void everyViewShowsTheFilesRows_data()
    {
        // Each row's cells from Field1 on ("" an empty cell), the rows removed, the rows the file holds.
        QTest::addColumn<QList<QStringList>>("cells"); QTest::addColumn<QList<int>>("removed"); QTest::addColumn<QList<int>>("rows");
        QTest::newRow("an empty row between") << QList<QStringList>{{"[C]:A:1"}, {}, {"[C]:B:1"}} << QList<int>() << QList<int>{1, 3};
        QTest::newRow("a removed row") << QList<QStringList>{{"[C]:A:1"}, {"[C]:B:1"}, {"[C]:C:1"}} << QList<int>{2} << QList<int>{1, 3};
        QTest::newRow("a row whose first cell is empty") << QList<QStringList>{{"", "[C]:A:1"}, {"[C]:B{NL}C:6"}} << QList<int>()
                                                          << QList<int>{1, 2};
        QTest::newRow("an empty row at the end, every other removed") << QList<QStringList>{{"[C]:A:1"}, {}} << QList<int>{1} << QList<int>();
    }
    void everyViewShowsTheFilesRows()
    {
        QFETCH(QList<QStringList>, cells); QFETCH(QList<int>, removed); QFETCH(QList<int>, rows);
        GridTableModel grid;
        GridLayout::layOut(grid);
        for (const QStringList &row : std::as_const(cells)) {
            grid.AddRow();
            for (int c = 0; c < row.size(); ++c)
                grid.SetCellText(grid.Row(), GridLayout::kFirstFieldColumn + c, row.at(c));
        }
        for (const int row : removed)
            grid.removeRow(row);
        // The file: its row lines are those of the rows, in order.
        QBuffer file;
        QVERIFY(PatternWriter().write(file, "BANK", grid));
        QStringList written = QString::fromLatin1(file.data()).split("\r\n", Qt::SkipEmptyParts).mid(1);
        QStringList expected;
        for (const int row : rows)
            expected << PatternFile::rowLine(grid, row);
        QCOMPARE(written, expected);
        // The layout records and the sheet: the rows they name.
        QBuffer csv;
        csv.open(QIODevice::WriteOnly);
        QVERIFY(PatternLayout::write(csv, PatternLayout::Format::Csv, grid, {}));
        QList<int> recorded;
        for (const QByteArray &record : csv.data().split('\n').mid(1)) {
            if (const int row = record.split(',').value(0).toInt(); row > 0 && !recorded.contains(row))
                recorded << row;
        }
        QCOMPARE(recorded, rows);
        QList<int> titled;
        const QString sheet = PatternLayout::sheetHtml({}, grid, {});
        for (const QRegularExpressionMatch &m : QRegularExpression("<h2>Row (\\d+) ").globalMatch(sheet))
            titled << m.captured(1).toInt();
        QCOMPARE(titled, rows);
        // The whole-pattern preview: the row of every line it draws, read by clicking down it.
        PatternView view;
        view.resize(600, 400);
        view.setPattern(&grid, {});
        view.show();
        QSignalSpy clicked(&view, &PatternView::cellClicked);
        for (int y = 0; y < view.viewport()->height(); y += 3)
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(view.viewport()->width() - 5, y));
        QList<int> drawn;
        for (const QList<QVariant> &click : std::as_const(clicked)) {
            if (!drawn.contains(click.at(0).toInt()))
                drawn << click.at(0).toInt();
        }
        QCOMPARE(drawn, rows);
    }
};

QTEST_MAIN(TstLayoutSheet)
#include "tst_layoutsheet.moc"
