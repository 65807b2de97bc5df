// The designer window's crash recovery, overwrite check on Save, recent
// files and window memory, driven through the seams.

#include "testsupport.h"

#include "designer/patternfile.h"
#include "designer/recentfiles.h"
#include "designer/recoverykeeper.h"
#include "designer/windowmemory.h"

#include <QtTest>
#include <QtWidgets>

#include <thread>

class TestRecoveryWindow : public QObject
{
    Q_OBJECT

    std::optional<DesignerFixture> f;

    QTableView *view() const { return child<QTableView>(f->window, "gridView"); }

private Q_SLOTS:
    void init() { QVERIFY(f.emplace().install.isValid()); }

    // A window gone without closing, as in a crash, leaves its copy; the
    // next one restores grid, mode and name, as not saved.
    void restoreAfterCrash()
    {
        f->window.findChild<RecoveryKeeper *>()->setInterval(1);
        const QString file = f->open("p.PAT", "[T];PAYROLL;\r\n[H];[C]:OLD\r\n");
        f->grid().SetCellText(1, 12, QStringLiteral("[C]:ยอด:3"));
        QTRY_COMPARE(QDir(RecoveryKeeper::defaultFolder()).entryList({"*.recovery"}).size(), 1);
        const QStringList before = dump(f->window.PMODE, f->grid()) << f->window.windowTitle();
        f.emplace().window.offerRecovery();
        QCOMPARE(dump(f->window.PMODE, f->grid()) << f->window.windowTitle(), before);
        QCOMPARE(f->window.FileName, file);
        QVERIFY(f->window.findChild<RecoveryKeeper *>()->isModified() && child<QAction>(f->window, "mnuSave")->isEnabled());
    }

    // Save over a file changed on disk since Open asks, No by default: No
    // writes nothing, Yes overwrites. Unchanged, or Save As elsewhere, asks
    // nothing.
    void saveOverAChangedFile_data()
    {
        QTest::addColumn<QString>("change"); QTest::addColumn<bool>("answer"); QTest::addColumn<bool>("asked");
        QTest::newRow("unchanged") << "" << false << false;
        QTest::newRow("other bytes, No") << "[C]:THEIRS" << false << true;
        QTest::newRow("other bytes, Yes") << "[C]:THEIRS" << true << true;
        QTest::newRow("same size and time, No") << "[C]:ABD" << false << true;
        QTest::newRow("removed, Yes") << "-" << true << true;
    }
    void saveOverAChangedFile()
    {
        QFETCH(QString, change); QFETCH(bool, answer); QFETCH(bool, asked);
        const QString path = f->open("p.PAT", "[T];BANK;\r\n[H];[C]:ABC\r\n");
        const QDateTime time = QFileInfo(path).lastModified();
        f->grid().SetCellText(1, 11, QStringLiteral("[C]:XYZ:3"));
        QFile file(path);
        if (change == u"-")
            QVERIFY(file.remove());
        else if (!change.isEmpty())
            QVERIFY(writeBytes(path, "[T];BANK;\r\n[H];" + change.toLatin1() + "\r\n") && file.open(QIODevice::Append)
                    && file.setFileTime(time, QFileDevice::FileModificationTime));
        const QByteArray theirs = readBytes(path), ours("[T];BANK;\r\n[H];[C]:XYZ\r\n");
        f->prompts.answers << answer;
        f->trigger("mnuSave");
        QCOMPARE(f->prompts.questions.size(), int(asked));
        QVERIFY(!asked || !f->prompts.questions[0].yesIsDefault);
        QCOMPARE(readBytes(path), answer || !asked ? ours : theirs);
        f->prompts.files.enqueue(f->path("other.PAT"));
        f->trigger("mnuSaveAs");
        QCOMPARE(f->prompts.questions.size(), int(asked));
        QCOMPARE(readBytes(f->path("other.PAT")), ours);
    }

    // Open while another thread saves the same file again and again reads
    // one pattern or the other, whole.
    void openWhileSaving()
    {
        const QString path = f->path("shared.PAT");
        const QByteArray files[2] = {"[T];BANK;\r\n" + QByteArray("[H];[C]:AAAA\r\n").repeated(2000),
                                     "[T];TAX;\r\n" + QByteArray("[D];[C]:BB;[C]:CC\r\n").repeated(1500)};
        GridTableModel grids[2];
        QStringList dumps[2];
        for (int i = 0; i < 2; ++i) {
            QBuffer buffer;
            buffer.setData(files[i]);
            PatternReader reader;
            QVERIFY(reader.read(buffer));
            GridLayout::layOut(grids[i]);
            PatternFile::loadRows(reader.lines(), grids[i]);
            dumps[i] = dump(reader.mode(), grids[i]);
        }
        QVERIFY(writeBytes(path, files[0]));
        std::atomic<bool> stop = false;
        std::atomic<int> saves = 0;
        std::thread saver([&] {
            for (int i = 0; !stop; ++i, ++saves)
                PatternWriter().save(path, i % 2 ? "TAX" : "BANK", grids[i % 2]);
        });
        for (int i = 0; i < 40; ++i) {
            f->prompts.files.enqueue(path);
            f->trigger("mnuOPen");
            const QStringList grid = dump(f->window.PMODE, f->grid());
            QVERIFY2(grid == dumps[0] || grid == dumps[1], qPrintable(grid.mid(0, 3).join(u' ')));
        }
        stop = true;
        saver.join();
        QVERIFY(saves > 40);
        QCOMPARE(f->prompts.told, QStringList());
    }
};

QTEST_MAIN(TestRecoveryWindow)
#include "tst_recoverywindow.moc"
