// The recovery file and its keeper. A copy cut short, longer, of another
// version or damaged anywhere is refused whole; a kept pattern loads as its
// saved file would open; the keeper writes an interval after the first
// change however many follow, never on the change, and offers only the
// copies of designers that have ended.

#include "testsupport.h"

#include "components/gridtablemodel.h"
#include "designer/patternfile.h"
#include "designer/recoverykeeper.h"

#include <QtTest>

namespace {

// A laid-out grid; each row "type|Field1|Field2..."; type "x" is a removed row.
void fill(GridTableModel &grid, const QStringList &rows)
{
    GridLayout::layOut(grid);
    for (const QString &row : rows) {
        const QStringList cells = row.split(u'|');
        grid.AddRow();
        grid.SetCellListIndex(grid.Row(), 1, cells[0].toInt());
        for (int i = 1; i < cells.size(); ++i)
            grid.SetCellText(grid.Row(), 10 + i, cells[i]);
        if (cells[0] == u"x")
            grid.removeRow(grid.Row());
    }
}

QByteArray wrap(const QByteArray &payload)
{
    return "ZN7TEDSR-RECOVERY 1\n" + QByteArray::number(payload.size()) + ' '
           + QCryptographicHash::hash(payload, QCryptographicHash::Sha1).toHex() + '\n' + payload;
}

const KeptPattern kSample{"/p/a.PAT", "BANK", {}, {"[H];[C]:A", "[D];[C]:ข"}};

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readerRefusesWhole_data()
    {
        QTest::addColumn<QByteArray>("bytes"); QTest::addColumn<bool>("accepted");
        QBuffer buffer;
        QVERIFY(RecoveryWriter().write(buffer, kSample));
        const QByteArray good = buffer.data(), length = QByteArray::number(good.size() - good.indexOf("file")) + ' ';
        QByteArray noise(8 << 20, Qt::Uninitialized);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        const std::pair<const char *, QByteArray> refused[] = {
            {"empty", ""}, {"cut in the first line", good.left(8)}, {"cut after the header", good.left(good.indexOf("file"))},
            {"cut in the last row", good.chopped(3)}, {"a byte more", good + '\n'},
            {"older version", QByteArray(good).replace("RECOVERY 1", "RECOVERY 0")},
            {"newer version", QByteArray(good).replace("RECOVERY 1", "RECOVERY 2")},
            {"a byte garbled", QByteArray(good).replace("[C]:A", "[C]:B")},
            {"length of a gigabyte", QByteArray(good).replace(length, "1073741824 ")},
            {"length beyond 64 bits", QByteArray(good).replace(length, "99999999999999999999 ")}, {"8 MB of noise", noise},
            {"a pattern file", "[T];BANK;\r\n[H];[C]:A\r\n"}, {"keys out of order", wrap("mode BANK\nfile a\ndisk none\n\n")},
            {"no line before the rows", wrap("file a\nmode BANK\ndisk none\n[H];[C]:A\r\n")},
            {"damaged disk line", wrap("file a\nmode BANK\ndisk 12 x 0f\n\n")}, {"no mode", wrap("file a\nmode \ndisk none\n\n")}};
        QTest::newRow("whole") << good << true;
        for (const auto &[name, bytes] : refused)
            QTest::newRow(name) << bytes << false;
    }
    void readerRefusesWhole()
    {
        QFETCH(QByteArray, bytes); QFETCH(bool, accepted);
        QBuffer buffer(&bytes);
        RecoveryReader reader;
        QCOMPARE(reader.read(buffer), accepted);
        QCOMPARE(reader.errorString().isEmpty(), accepted);
        const KeptPattern &read = reader.pattern();   // nothing of a refused file
        QCOMPARE(QStringList({read.fileName, read.mode}) + read.rows,
                 accepted ? QStringList({kSample.fileName, kSample.mode}) + kSample.rows : QStringList({"", ""}));
    }

    // The copy keeps the name, mode and file state, and loads exactly what
    // saving the pattern and opening the file would give.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("fileName"); QTest::addColumn<QString>("mode"); QTest::addColumn<QStringList>("rows");
        QTest::newRow("Thai constants with stale counts, a field")
            << "/ข้อมูล/pay.PAT" << "PAYROLL" << QStringList{"0|[C]:ยอดรวม{NL}:99|[F]:{PAYAMT}:15:R:0:::0", "2|[C]:AB:1"};
        QTest::newRow("removed, empty, closed-up and untyped rows")
            << "Untitled.PAT" << "BANK" << QStringList{"x|[C]:GONE:4", "1", "-1||[C]:LATE:4", "5|[C]:FIVE:4"};
        QTest::newRow("line breaks inside cells") << "a.PAT" << "TAX" << QStringList{"0|[C]:A\nB:3|[C]:C\r:2|[C]:D\r\n:2"};
        QTest::newRow("names with %, space, line break; mode with ;") << "/t/100% a\nb.PAT" << " PAY;ROLL " << QStringList{"1|[C]:X:1"};
        QTest::newRow("no rows, no file name") << "" << "VENDOR" << QStringList();
    }
    void roundTrip()
    {
        QFETCH(QString, fileName); QFETCH(QString, mode); QFETCH(QStringList, rows);
        GridTableModel grid, restored, opened;
        fill(grid, rows);
        const KeptPattern kept{fileName, mode, FileFingerprint::ofBytes(fileName, "x"), KeptPattern::rowsOf(grid)};
        QBuffer copy, file;
        QVERIFY(RecoveryWriter().write(copy, kept) && PatternWriter().write(file, mode, grid));
        copy.close(), file.close();
        RecoveryReader reader;
        PatternReader patternReader;
        QVERIFY(reader.read(copy) && patternReader.read(file));
        QCOMPARE(QStringList({reader.pattern().fileName, reader.pattern().mode}), QStringList({fileName, mode}));
        QVERIFY(reader.pattern().onDisk == (fileName.isEmpty() ? FileFingerprint() : kept.onDisk));   // no file, no state
        GridLayout::layOut(restored), GridLayout::layOut(opened);
        reader.pattern().loadRows(restored);
        PatternFile::loadRows(patternReader.lines(), opened);
        QCOMPARE(dump(mode, restored), dump(mode, opened));
        QCOMPARE(restored.RowCount() > 0, !rows.isEmpty());
    }

    // Edits every 30 ms: the copy comes an interval after the first, never
    // on an edit itself, ends whole with the last edit and goes once the
    // pattern is clean. A folder that cannot be made fails once.
    void keeperWritesOnItsInterval()
    {
        QTemporaryDir dir;
        GridTableModel grid;
        fill(grid, {"0|[C]:A:1"});
        RecoveryKeeper keeper(grid, dir.path()), nowhere(grid, dir.filePath("file/x"));   // in a file: cannot be made
        QVERIFY(writeBytes(dir.filePath("file"), ""));
        QSignalSpy failed(&nowhere, &RecoveryKeeper::failed);
        const auto copies = [&dir] { return QDir(dir.path()).entryList({"*.recovery"}); };
        for (RecoveryKeeper *k : {&keeper, &nowhere}) {
            k->setInterval(150);
            k->setSource([] { return RecoveryKeeper::Source{"a.PAT", "BANK", {}}; });
            k->setModified(true);
        }
        bool duringEdits = false;
        for (int i = 0; i < 20; ++i) {
            grid.SetCellText(1, 12, QStringLiteral("[C]:%1:1").arg(i % 10));
            QVERIFY(copies().isEmpty() || duringEdits);
            QTest::qWait(30);
            duringEdits = !copies().isEmpty();
        }
        QVERIFY(duringEdits);
        RecoveryReader reader;
        QTRY_VERIFY(reader.readFile(dir.filePath(copies().value(0))) && reader.pattern().rows == QStringList{"[H];[C]:A;[C]:9"});
        keeper.setModified(false);
        QCOMPARE(copies(), QStringList());
        QCOMPARE(failed.size(), 1);
    }

    // A copy whose designer runs is not offered; of the others a damaged one
    // is set aside with a notice, one refused is removed, one taken becomes
    // the keeper's own.
    void keeperOffersEndedDesigners()
    {
        QTemporaryDir dir;
        GridTableModel grid;
        fill(grid, {"0|[C]:A:1"});
        ScriptedPrompts prompts;
        const auto copies = [&dir] { return QDir(dir.path()).entryList({"*.recovery"}); };
        const auto keeping = [&] {
            auto keeper = std::make_unique<RecoveryKeeper>(grid, dir.path());
            keeper->setInterval(1);
            keeper->setSource([] { return RecoveryKeeper::Source{"a.PAT", "BANK", {}}; });
            keeper->setModified(true);
            return keeper;
        };
        RecoveryKeeper next(grid, dir.path());
        const auto running = keeping();
        QTRY_COMPARE(copies().size(), 1);
        QVERIFY(writeBytes(dir.filePath("damaged.recovery"), "ZN7TEDSR-RECOVERY 1\n"));
        QVERIFY(!next.offerKept(prompts, prompts));
        QCOMPARE(prompts.questions.size(), 0);
        QCOMPARE(prompts.told.size(), 1);
        QCOMPARE(QDir(dir.path()).entryList({"*.unreadable"}), QStringList{"damaged.recovery.unreadable"});
        std::optional<KeptPattern> kept;
        for (const bool answer : {false, true}) {
            auto ended = keeping();
            QTRY_COMPARE(copies().size(), 2);
            ended.reset();   // without a clean exit: its copy stays
            prompts.answers << answer;
            kept = next.offerKept(prompts, prompts);
            QCOMPARE(copies().size(), answer ? 2 : 1);   // refused, it is gone
        }
        QVERIFY(kept && kept->rows == QStringList{"[H];[C]:A"} && !prompts.questions[1].escapeAnswersNo);
        next.setModified(false);   // the taken copy is its own now
        QCOMPARE(copies().size(), 1);
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
