// The recovery file and its keeper: a copy cut, longer, of another version or damaged is refused whole; a kept pattern
// loads as its saved file opens; the keeper writes an interval after the first change, and offers ended designers' copies.

#include "testsupport.h"

#include "components/gridtablemodel.h"
#include "designer/patternfile.h"
#include "designer/recoverykeeper.h"

#include <QtTest>

class TestRecovery : public QObject
{
    Q_OBJECT

    const KeptPattern sample{"/p/a.PAT", "BANK", {}, {"[H];[C]:A", "[D];[C]:ข"}};
    QTemporaryDir dir;
    GridTableModel grid;
    ScriptedPrompts prompts;

    // Rows "type|Field1|Field2..."; type "x" is a removed row.
    static void fill(GridTableModel &grid, const QStringList &rows)
    {
        GridLayout::layOut(grid);
        for (const QString &row : rows) {
            const QStringList cells = row.split(u'|');
            grid.AddRow();
            for (int i = 0; i < cells.size(); ++i)
                i ? grid.SetCellText(grid.Row(), 10 + i, cells[i]) : grid.SetCellListIndex(grid.Row(), 1, cells[0].toInt());
            if (cells[0] == u"x") grid.removeRow(grid.Row());
        }
    }
    static QByteArray wrap(const QByteArray &p) { return "ZN7TEDSR-RECOVERY 1\n" + QByteArray::number(p.size()) + ' ' + QCryptographicHash::hash(p, QCryptographicHash::Sha1).toHex() + '\n' + p; }
    QStringList copies() const { return QDir(dir.path()).entryList({"*.recovery"}); }
    std::unique_ptr<RecoveryKeeper> keeping(int interval, const QString &folder = {})
    {
        auto keeper = std::make_unique<RecoveryKeeper>(grid, folder.isEmpty() ? dir.path() : folder, interval);
        keeper->setSource([] { return RecoveryKeeper::Source{"a.PAT", "BANK", {}}; });
        keeper->setModified(true);
        return keeper;
    }

private Q_SLOTS:
    void init() { fill(grid, {"0|[C]:A:1"}); }

    void readerRefusesWhole_data()
    {
        QTest::addColumn<QByteArray>("bytes"); QTest::addColumn<bool>("accepted");
        QBuffer buffer;
        QVERIFY(RecoveryWriter().write(buffer, sample));
        const QByteArray good = buffer.data(), length = QByteArray::number(good.size() - good.indexOf("file")) + ' ';
        QByteArray noise(8 << 20, Qt::Uninitialized);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        const std::pair<const char *, QByteArray> refused[] = {
            {"empty", ""}, {"cut in the first line", good.left(8)}, {"cut after the header", good.left(good.indexOf("file"))},
            {"cut in the last row", good.chopped(3)}, {"a byte more", good + '\n'}, {"8 MB of noise", noise},
            {"older version", QByteArray(good).replace("RECOVERY 1", "RECOVERY 0")}, {"newer version", QByteArray(good).replace("RECOVERY 1", "RECOVERY 2")},
            {"a byte garbled", QByteArray(good).replace("[C]:A", "[C]:B")}, {"length of a gigabyte", QByteArray(good).replace(length, "1073741824 ")},
            {"length beyond 64 bits", QByteArray(good).replace(length, "99999999999999999999 ")}, {"a pattern file", "[T];BANK;\r\n[H];[C]:A\r\n"},
            {"keys out of order", wrap("mode BANK\nfile a\ndisk none\n\n")}, {"no line before the rows", wrap("file a\nmode BANK\ndisk none\n[H];[C]:A\r\n")},
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
        QCOMPARE(reader.read(buffer) && reader.errorString().isEmpty(), accepted);
        QCOMPARE(QStringList({reader.pattern().fileName, reader.pattern().mode}) + reader.pattern().rows,   // nothing of a refused file
                 accepted ? QStringList({sample.fileName, sample.mode}) + sample.rows : QStringList({"", ""}));
    }

    // The copy keeps the name, mode and file state, and loads what saving and opening the pattern gives.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("fileName"); QTest::addColumn<QString>("mode"); QTest::addColumn<QStringList>("rows");
        QTest::newRow("Thai constants with stale counts, a field") << "/ข้อมูล/pay.PAT" << "PAYROLL" << QStringList{"0|[C]:ยอดรวม{NL}:99|[F]:{PAYAMT}:15:R:0:::0", "2|[C]:AB:1"};
        QTest::newRow("removed, empty, closed-up and untyped rows") << "Untitled.PAT" << "BANK" << QStringList{"x|[C]:GONE:4", "1", "-1||[C]:LATE:4", "5|[C]:FIVE:4"};
        QTest::newRow("line breaks inside cells") << "a.PAT" << "TAX" << QStringList{"0|[C]:A\nB:3|[C]:C\r:2|[C]:D\r\n:2"};
        QTest::newRow("names with %, space, line break; mode with ;") << "/t/100% a\nb.PAT" << " PAY;ROLL " << QStringList{"1|[C]:X:1"};
        QTest::newRow("no rows, no file name") << "" << "VENDOR" << QStringList();
    }
    void roundTrip()
    {
        QFETCH(QString, fileName); QFETCH(QString, mode); QFETCH(QStringList, rows);
        GridTableModel restored, opened;
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
        PatternFile::loadRows(patternReader, opened);
        QCOMPARE(dump(mode, restored), dump(mode, opened));
        QCOMPARE(restored.RowCount() > 0, !rows.isEmpty());
    }

    // Edits every 30 ms: a copy an interval after the first, not on it, then the last; gone once clean. No folder: one failure.
    void keeperWritesOnItsInterval()
    {
        QVERIFY(writeBytes(dir.filePath("file"), ""));
        const auto keeper = keeping(150), nowhere = keeping(150, dir.filePath("file/x"));
        QSignalSpy failed(nowhere.get(), &RecoveryKeeper::failed);
        bool duringEdits = false;
        // Twenty edits, or more on a machine so busy that no copy came in their time.
        int i = 0;
        for (; i < 20 || (!duringEdits && i < 400); ++i, QTest::qWait(30)) {
            grid.SetCellText(1, 12, QStringLiteral("[C]:%1:1").arg(i % 10));
            QVERIFY(i > 0 || copies().isEmpty());   // before any interval, only the edit itself could have written
            duringEdits = duringEdits || !copies().isEmpty();
        }
        const QStringList last{QStringLiteral("[H];[C]:A;[C]:%1").arg((i - 1) % 10)};
        RecoveryReader reader;
        QVERIFY(duringEdits);
        QTRY_VERIFY(reader.readFile(dir.filePath(copies().value(0))) && reader.pattern().rows == last);
        keeper->setModified(false);
        QCOMPARE(copies() << QString::number(failed.size()), QStringList{"1"});   // no copy left; one failure
    }

    // Rows inserted within the pattern, and taken out again by an undo, move
    // the rows after them: the copy follows.
    void keeperFollowsRowsThatMove()
    {
        const auto keeper = keeping(20);
        RecoveryReader reader;
        const auto kept = [&] { return reader.readFile(dir.filePath(copies().value(0))) ? reader.pattern().rows : QStringList(); };
        grid.SetCellText(1, 12, QStringLiteral("[C]:B:1"));
        QTRY_COMPARE(kept(), QStringList{"[H];[C]:A;[C]:B"});
        GridEdits inserted;
        grid.record(&inserted);
        QList<QString> cells = grid.rowCells(1);
        cells[2] = QStringLiteral("[C]:Z:1");   // Field2
        grid.insertDataRows(1, 1, cells);
        grid.record(nullptr);
        QTRY_COMPARE(kept(), QStringList({"[H];[C]:A;[C]:Z", "[H];[C]:A;[C]:B"}));
        grid.undo(inserted);
        QTRY_COMPARE(kept(), QStringList{"[H];[C]:A;[C]:B"});
        keeper->setModified(false);
    }

    // A running designer's copy is not offered; damaged ones are set aside, named in one notice; one refused is
    // removed, one taken becomes the keeper's own. A lock without a copy whose designer has ended is removed.
    void keeperOffersEndedDesigners()
    {
        RecoveryKeeper next(grid, dir.path());
        const auto running = keeping(1);
        QTRY_COMPARE(copies().size(), 1);
        QVERIFY(writeBytes(dir.filePath("damaged.recovery"), "ZN7TEDSR-RECOVERY 1\n") && writeBytes(dir.filePath("cut.recovery"), "ZN7"));
        QVERIFY(writeBytes(dir.filePath("ended.lock"), "2147483647\nzn7tedsr\n\n"));   // no process has that number
        QLockFile live(dir.filePath("live.lock"));
        QVERIFY(live.tryLock());
        std::optional<KeptPattern> kept;
        for (const bool answer : {false, true}) {
            auto ended = keeping(1);
            QTRY_COMPARE(copies().size(), 2 + 2 * !answer);
            ended.reset();   // without a clean exit: its copy stays
            prompts.answers << answer;
            kept = next.offerKept(prompts, prompts);
            QCOMPARE(copies().size(), answer ? 2 : 1);   // refused, it is gone
        }
        QCOMPARE(QDir(dir.path()).entryList({"*.unreadable"}) << QString::number(prompts.questions.size() + prompts.told.size()),
                 QStringList({"cut.recovery.unreadable", "damaged.recovery.unreadable", "3"}));
        QVERIFY(prompts.told.value(0).contains("damaged.recovery") && prompts.told.value(0).contains("cut.recovery"));
        QVERIFY(!QFile::exists(dir.filePath("ended.lock")) && QFile::exists(dir.filePath("live.lock")));
        QVERIFY(kept && kept->rows == QStringList{"[H];[C]:A"} && !prompts.questions[1].escapeAnswersNo);
        next.setModified(false);   // the taken copy is its own now
        QCOMPARE(copies().size(), 1);
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
