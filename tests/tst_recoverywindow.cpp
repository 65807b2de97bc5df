// The designer window's crash recovery, overwrite check, recent files and
// window memory, driven through the seams.

#include "testsupport.h"

#include "designer/patternfile.h"
#include "designer/recentfiles.h"
#include "designer/recoverykeeper.h"
#include "designer/windowmemory.h"

#include <QtTest>
#include <QtWidgets>

#include <atomic>
#include <thread>

class TestRecoveryWindow : public QObject
{
    Q_OBJECT

    std::optional<DesignerFixture> f;

    RecoveryKeeper &keeper() const { return *f->window.findChild<RecoveryKeeper *>(); }
    QTableView *view() const { return child<QTableView>(f->window, "gridView"); }
    static QStringList copies() { return QDir(RecoveryKeeper::defaultFolder()).entryList({"*.recovery"}); }

private Q_SLOTS:
    void init() { QVERIFY(f.emplace().install.isValid()); }

    // The window goes without closing, as in a crash; the next one offers
    // the copy. Yes brings back the grid, mode and name, not saved; No, or
    // a clean exit of the restored pattern, removes the copy.
    void restoreAfterCrash_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void restoreAfterCrash()
    {
        QFETCH(bool, yes);
        keeper().setInterval(10);
        const QString file = f->open("p.PAT", "[T];PAYROLL;\r\n[H];[C]:OLD\r\n");
        f->grid().SetCellText(1, 12, QStringLiteral("[C]:ยอด:3"));
        f->grid().AddRow();
        f->grid().SetCellListIndex(2, 1, 1);
        f->grid().SetCellText(2, 11, QStringLiteral("[F]:{EMPCODE}:10:L::::0"));
        QTRY_COMPARE(copies().size(), 1);
        const QStringList before = dump(f->window.PMODE, f->grid());
        const QString title = f->window.windowTitle();
        f.emplace();
        f->prompts.answers << yes << false;   // the copy; then "Save your Data ?"
        f->window.offerRecovery();
        QCOMPARE(f->prompts.questions.size(), 1);
        QCOMPARE(dump(f->window.PMODE, f->grid()), yes ? before : QStringList{"mode "});
        QCOMPARE(f->window.windowTitle(), yes ? title : QStringLiteral("Text Export Pattern Designer File"));
        QCOMPARE(f->window.FileName, yes ? file : QString());
        QCOMPARE(keeper().isModified() && child<QAction>(f->window, "mnuSave")->isEnabled(), yes);
        QCOMPARE(copies().size(), int(yes));
        f->window.close();
        QCOMPARE(copies(), QStringList());
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
        QByteArray files[2] = {"[T];BANK;\r\n" + QByteArray("[H];[C]:AAAA\r\n").repeated(2000),
                               "[T];TAX;\r\n" + QByteArray("[D];[C]:BB;[C]:CC\r\n").repeated(1500)};
        GridTableModel grids[2];
        QString modes[2];
        QStringList dumps[2];
        for (int i = 0; i < 2; ++i) {
            QBuffer buffer(&files[i]);
            PatternReader reader;
            QVERIFY(reader.read(buffer));
            GridLayout::layOut(grids[i]);
            PatternFile::loadRows(reader.lines(), grids[i]);
            modes[i] = reader.mode();
            dumps[i] = dump(modes[i], grids[i]);
        }
        QVERIFY(writeBytes(path, files[0]));
        std::atomic<bool> stop = false;
        std::atomic<int> saves = 0;
        std::thread saver([&] {
            for (int i = 0; !stop; ++i, ++saves)
                PatternWriter().save(path, modes[i % 2], grids[i % 2]);
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

    // The last eight files opened or saved, most recent first. An entry
    // opens as Open does, asking nothing over changes not saved; a missing
    // one is taken off with a message.
    void recentFiles()
    {
        QStringList paths;
        for (int i = 0; i < 9; ++i)
            paths.prepend(f->open(QStringLiteral("r%1.PAT").arg(i), "[T];BANK;\r\n[H];[C]:" + QByteArray::number(i) + "\r\n"));
        f->prompts.files.enqueue(f->path("saved.PAT"));
        f->trigger("mnuSaveAs");
        paths.prepend(f->path("saved.PAT"));
        Q_EMIT child<QMenu>(f->window, "mnuFile")->aboutToShow();
        QStringList shown;
        for (const QAction *action : child<QMenu>(f->window, "mnuRecent")->actions())
            shown << action->text();
        QCOMPARE(shown.size(), 8);
        QCOMPARE(shown.constLast(), "&8 " + QDir::toNativeSeparators(paths[7]));
        f->grid().SetCellText(1, 11, QStringLiteral("[C]:CHANGED:7"));
        child<QAction>(f->window, "mnuRecent3")->trigger();
        QCOMPARE(f->window.FileName, paths[2]);
        QCOMPARE(f->grid().CellText(1, 11), QStringLiteral("[C]:7:1"));
        QVERIFY(f->prompts.questions.isEmpty());
        QCOMPARE(RecentFiles::files().value(0), paths[2]);
        QVERIFY(QFile::remove(paths[1]));
        Q_EMIT child<QMenu>(f->window, "mnuFile")->aboutToShow();
        child<QAction>(f->window, "mnuRecent3")->trigger();
        QVERIFY(f->prompts.told.constLast().contains("no longer there"));
        QCOMPARE(f->window.FileName, paths[2]);
        QVERIFY(!RecentFiles::files().contains(paths[1]));
    }

    // Size, place and column widths come back at the next start, and the
    // widths after every new layout; the first start keeps the designed size.
    void windowMemory()
    {
        QSettings().remove("window");
        const QSize designed = f->window.size();
        QVERIFY(!WindowMemory::restoreGeometry(f->window));
        QCOMPARE(f->window.size(), designed);
        f->trigger("mnuNew");
        const int width = view()->columnWidth(4);
        view()->setColumnWidth(3, 77);
        f->window.setGeometry(40, 50, 700, 400);
        f->trigger("mnuNew");
        QCOMPARE(view()->columnWidth(3), 77);
        f->prompts.answers << false;   // Save your Data ? No
        f->window.close();
        f.emplace();
        QVERIFY(WindowMemory::restoreGeometry(f->window));
        QCOMPARE(f->window.geometry(), QRect(40, 50, 700, 400));
        f->trigger("mnuNew");
        QCOMPARE(view()->columnWidth(3), 77);
        QCOMPARE(view()->columnWidth(4), width);
    }

    // A data folder that cannot be made: one notice, and the designer works on.
    void recoveryOffWithoutAFolder()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        const QByteArray folder = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(file.fileName()));   // a file, not a folder
        f.emplace();
        qputenv("XDG_DATA_HOME", folder);
        keeper().setInterval(1);
        const QString path = f->open("p.PAT", "[T];BANK;\r\n[H];[C]:A\r\n");
        for (int i = 0; i < 3; ++i) {
            f->grid().SetCellText(1, 11, QStringLiteral("[C]:%1:1").arg(i));
            QTest::qWait(20);
        }
        QCOMPARE(f->prompts.told.size(), 1);
        QVERIFY(f->prompts.told[0].contains("Crash recovery is off"));
        f->trigger("mnuSave");
        QCOMPARE(readBytes(path), "[T];BANK;\r\n[H];[C]:2\r\n");
    }
};

QTEST_MAIN(TestRecoveryWindow)
#include "tst_recoverywindow.moc"
