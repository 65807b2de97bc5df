// Faults from outside: saves that fail part-way or have no folder to go to,
// pattern files that cannot be read or hold no mode, design databases that
// are missing, damaged or locked, hostile text, and bytes the Thai code page
// leaves undefined. The user is told or the program goes on with what it can
// read, and nothing on disk or in the grid is lost. The tests run as root in
// CI, so no fault is made with file permissions.

#include "testsupport.h"

#include "components/designdatabase.h"
#include "designer/patternfile.h"
#include "field/gui/frmfield.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

class TestFaults : public QObject
{
    Q_OBJECT

    std::optional<DesignerFixture> m;

private Q_SLOTS:
    // Each test function's fixture replaces the one before.
    void init() { QVERIFY(m.emplace().install.isValid()); }

    // A command that fails tells the user with the file's name and leaves the
    // former file and the window as they were. A failed save keeps the work,
    // so the same command saves it once the fault is gone; after a failed
    // Open, Save writes the pattern that was open.
    void failedCommandKeepsEverything_data()
    {
        // The menu action; the fault: disk (full), gone (the folder), or what
        // bad.PAT is; the bytes the disk takes (below 0, that many short of
        // the file); where the link points.
        QTest::addColumn<QString>("command"); QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("diskTakes"); QTest::addColumn<QString>("linkTo");
        QTest::newRow("disk full at once") << "mnuSave" << "disk" << 0 << "";
        QTest::newRow("disk full part-way, in a Thai constant") << "mnuSave" << "disk" << 285 << "";
        QTest::newRow("disk full one byte short") << "mnuSave" << "disk" << -1 << "";
        QTest::newRow("disk full on Save As") << "mnuSaveAs" << "disk" << 1000 << "";
        QTest::newRow("folder gone on Save") << "mnuSave" << "gone" << 0 << "";
        QTest::newRow("folder gone on Save As") << "mnuSaveAs" << "gone" << 0 << "";
        QTest::newRow("open a folder") << "mnuOPen" << "folder" << 0 << "";
        QTest::newRow("open a pipe nobody writes to") << "mnuOPen" << "pipe" << 0 << "";
        QTest::newRow("open a link to nowhere") << "mnuOPen" << "link" << 0 << "gone.PAT";
        QTest::newRow("open a device without end") << "mnuOPen" << "link" << 0 << "/dev/zero";
    }
    void failedCommandKeepsEverything()
    {
        QFETCH(QString, command); QFETCH(QString, fault); QFETCH(int, diskTakes); QFETCH(QString, linkTo);
        QDir work(m->install.filePath(QStringLiteral("work")));
        QVERIFY(QDir().mkdir(work.path()));
        // 200 rows, each with a Thai constant; the first is edited before the fault.
        const QByteArray row = "[G];[C]:\xc0\xd2\xc9\xd5;[F]:{DOCNO}:10:R:0:::0\r\n", former = "[T];BANK;\r\n" + row.repeated(200);
        const QByteArray wanted = "[T];BANK;\r\n[G];[C]:\xc2\xcd\xb4\xc3\xc7\xc1{NL};[F]:{DOCNO}:10:R:0:::0\r\n" + row.repeated(199);
        const QString path = m->open(QStringLiteral("work/pay.PAT"), former);
        m->grid().SetCellText(1, 11, QStringLiteral("[C]:ยอดรวม{NL}:5"));
        QString target = command == u"mnuSave" ? path
                       : command == u"mnuOPen" ? m->install.filePath(QStringLiteral("bad.PAT")) : work.filePath(QStringLiteral("elsewhere.PAT"));
        const QString title = m->window.windowTitle();
        const auto run = [&] {
            m->prompts.files.enqueue(target); // unused by Save
            m->trigger(qPrintable(command));
        };

        const bool disk = fault == u"disk";
        // Save asks before writing over a file that is gone; both times Yes.
        // Open asks first to save the edit: No.
        if (fault == u"gone" && command == u"mnuSave")
            m->prompts.answers << true << true;
        if (command == u"mnuOPen")
            m->prompts.answers << false;
        QVERIFY(disk || (fault == u"gone"     ? work.removeRecursively()
                         : fault == u"folder" ? QDir().mkdir(target)
                         : fault == u"pipe"   ? ::mkfifo(QFile::encodeName(target).constData(), 0600) == 0
                                              : ::symlink(QFile::encodeName(linkTo).constData(), QFile::encodeName(target).constData()) == 0));
        // A size limit fails the write part-way as a full disk would, and stops root too.
        rlimit normal{};
        getrlimit(RLIMIT_FSIZE, &normal);
        const rlimit tight{disk ? rlim_t((wanted.size() + diskTakes) % wanted.size()) : normal.rlim_cur, normal.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN); // so an over-limit write fails instead of ending the test
        QFile direct(m->install.filePath(QStringLiteral("direct.PAT")));
        QVERIFY(direct.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QVERIFY(setrlimit(RLIMIT_FSIZE, &tight) == 0);
        // The writer itself reports a device that stops taking bytes.
        const bool written = PatternWriter().write(direct, m->window.PMODE, m->grid());
        // Waiting on the pipe or reading the device without end would hang
        // here until the test times out.
        run();
        setrlimit(RLIMIT_FSIZE, &normal);
        QCOMPARE(written, !disk);
        QCOMPARE(m->prompts.icons, QList{Notices::Icon::Critical});
        const QString told = command == u"mnuOPen" ? QStringLiteral("ไม่สามารถอ่านไฟล์ ") : QStringLiteral("ไม่สามารถบันทึกไฟล์ ");
        QVERIFY2(m->prompts.told[0].startsWith(told + QDir::toNativeSeparators(target)), qPrintable(m->prompts.told[0]));
        QCOMPARE(m->window.FileName, path);
        QCOMPARE(m->window.windowTitle(), title);
        QVERIFY(child<QAction>(m->window, "mnuSave")->isEnabled() && child<QAction>(m->window, "mnuSaveAs")->isEnabled());
        QCOMPARE(readBytes(path), fault == u"gone" ? QByteArray() : former);
        // No part of a new file is left anywhere.
        QCOMPARE(work.entryList(QDir::Files), fault == u"gone" ? QStringList() : QStringList{QStringLiteral("pay.PAT")});

        QVERIFY(fault != u"gone" || QDir().mkdir(work.path()));
        if (command == u"mnuOPen")
            command = QStringLiteral("mnuSave"), target = path;
        run();
        QCOMPARE(readBytes(target), wanted);
    }

    // A file without a mode line is rejected and leaves a fresh window
    // without a mode; Save As then refuses before a file is chosen, as what
    // it would write is no pattern.
    void saveWithoutModeRefused()
    {
        m->open(QStringLiteral("plain.PAT"), "[H];[C]:A\r\n");
        const QString target = m->install.filePath(QStringLiteral("saved.PAT"));
        m->prompts.files.enqueue(target);
        m->trigger("mnuSaveAs");
        QCOMPARE(m->prompts.icons, (QList{Notices::Icon::Information, Notices::Icon::Warning}));
        QCOMPARE(m->prompts.fileCalls.size(), 1); // the Open's
        QVERIFY(!QFileInfo::exists(target));
    }

    // No mode list is shown and no field can be read; a missing database
    // is not created, and once a lock is released the modes list again.
    void damagedDesignDatabase_data()
    {
        QTest::addColumn<QString>("damage");
        for (const char *row : {"missing", "random bytes", "write-locked"})
            QTest::newRow(row) << row;
    }
    void damagedDesignDatabase()
    {
        QFETCH(QString, damage);
        const QString path = m->install.designDatabase();
        QList<quint32> noise(QFileInfo(path).size() / 4);
        QRandomGenerator(7).fillRange(noise.data(), noise.size());
        QVERIFY(damage != u"missing" || QFile::remove(path));
        QVERIFY(damage != u"random bytes" || writeBytes(path, QByteArray(reinterpret_cast<const char *>(noise.data()), noise.size() * 4)));
        // Another connection holds a write transaction, which keeps readers out too.
        std::optional<QSqlDatabase> lock;
        if (damage == u"write-locked") {
            lock = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
            lock->setDatabaseName(path);
            QVERIFY(lock->open() && QSqlQuery(*lock).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        }

        // New: no mode can be read, so the pattern gets BANK and the title keeps its text.
        const QString title = m->window.windowTitle();
        m->trigger("mnuNew");
        QCOMPARE(m->prompts.count(), 0);
        QCOMPARE(m->window.PMODE, QStringLiteral("BANK"));
        QCOMPARE(m->window.windowTitle(), title);
        QCOMPARE(DesignDatabase(m->context.settings.DesignConnection()).fields(QStringLiteral("BANK")), std::nullopt);

        if (lock) {
            lock.reset(); // closing the connection rolls the transaction back
            QSqlDatabase::removeDatabase(QStringLiteral("holder"));
            m->prompts.answers.enqueue(false); // "Save your Data ?"
            m->trigger("mnuNew");
            QCOMPARE(m->prompts.modeLists.size(), 1);
            QCOMPARE(m->prompts.modeLists[0].size(), 4);
        }
        QCOMPARE(QFileInfo::exists(path), damage != u"missing");
    }

    // Hostile text in the mode and the file name, and bytes windows-874
    // leaves undefined (0xDB..0xDE, 0xFC..0xFF), go through Open and Save
    // byte for byte when another cell of the row is edited, and nothing is
    // written elsewhere. (The fields the design database gives for such a
    // mode are tested with the database itself.)
    void fileTextKeptAsIs_data()
    {
        QTest::addColumn<QString>("name"); QTest::addColumn<QByteArray>("file");   // the cell edited is "[C]:A" in row 1
        const std::pair<const char *, const char *> hostile[] = {
            {"x') OR ('1'='1", "a'b\"c.PAT"}, {"'; DROP TABLE ZN7TTextExportMode; --", "x;y%1.PAT"},
            {"%", "-rf  x .PAT"}, {"BANK' --", "รูปแบบ โอนเงิน.PAT"}};
        for (const auto &[mode, name] : hostile)
            QTest::newRow(mode) << name << "[T];" + QByteArray(mode) + ";\r\n[H];[C]:A;[F]:{DOCNO}:10:R:0:::0\r\n";
        // Every byte but the line end and the cell separator in a text cell;
        // the upper half in a constant, which cannot hold ":".
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all += b == '\n' || b == '\r' || b == ';' ? QByteArray() : QByteArray(1, char(b));
        QTest::newRow("every byte value") << "bytes.PAT" << "[T];X;\r\n[H];[C]:A;" + all + "\r\n[G];[C]:" + all.right(128)
                + ";[C]:\xdb\xdc\xdd\xde{NL}\xfc\xfd\xfe\xff\r\n";
        QTest::newRow("undefined bytes in the mode") << "bytes.PAT" << QByteArray("[T];\xdb\xff;\r\n[D];[C]:A;[C]:\xde{NL};x\xff\r\n");
    }
    void fileTextKeptAsIs()
    {
        QFETCH(QString, name); QFETCH(QByteArray, file);
        const QString path = m->open(name, file);
        QCOMPARE(m->window.windowTitle(), QStringLiteral("เครื่องมือสร้าง Pattern File [ Mode  ] - ") + path);
        m->grid().SetCellText(1, 11, QStringLiteral("[C]:ใหม่:4"));
        m->trigger("mnuSave");
        QCOMPARE(readBytes(path).toHex(' '), QByteArray(file).replace("[C]:A;", "[C]:\xe3\xcb\xc1\xe8;").toHex(' '));
        QCOMPARE(QDir(m->install.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
    }

    // A design database in WAL mode gets nothing made beside it by the
    // designer's reads (the mode list, the title, the preview's samples, the
    // field dialog); while a program writes it, its change not yet
    // checkpointed into the file is read all the same.
    void walDatabaseReadAsIs()
    {
        const QString path = m->install.designDatabase();
        const auto sqlite = [&](const QString &name) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            return db;
        };
        {
            QSqlDatabase db = sqlite("wal");
            QVERIFY(db.open() && QSqlQuery(db).exec("PRAGMA journal_mode=WAL"));
        }
        QSqlDatabase::removeDatabase("wal");
        const auto beside = [&] { return QDir(m->install.path()).entryList({"ZN7Desktop.dat*"}); };
        QCOMPARE(beside(), QStringList{"ZN7Desktop.dat"});
        m->prompts.mode = QStringLiteral("PAYROLL");
        m->trigger("mnuNew");
        m->prompts.answers.enqueue(false);
        m->open("p.PAT", "[T];BANK;\r\n[H];[F]:{PAYAMT}:5:R:0\r\n");
        QTRY_VERIFY(m->window.findChild<QListWidget *>("checkList"));
        QTRY_COMPARE(child<QListWidget>(m->window, "checkList")->count(), 1);   // the sample is cut: the samples were read
        m->grid().setCurrentCell(1, 11);
        QString name;
        QVERIFY(onModal<frmField>([&] { QTest::keyClick(child<QTableView>(m->window, "gridView"), Qt::Key_F2); },
                                  [&](frmField *dialog) { name = child<QLineEdit>(*dialog, "Text6")->text(); dialog->reject(); }));
        QCOMPARE(name, QStringLiteral("จำนวนเงินโอน"));
        QVERIFY(m->window.windowTitle().contains(QStringLiteral("[ Mode โอนเงินผ่านธนาคาร (Bank Transfer) ]")));
        QCOMPARE(beside(), QStringList{"ZN7Desktop.dat"});

        QSqlDatabase writer = sqlite("writer");
        QVERIFY(writer.open() && QSqlQuery(writer).exec("PRAGMA wal_autocheckpoint=0")
                && QSqlQuery(writer).exec("INSERT INTO ZN7TTextExportMode VALUES ('NEW', 'New mode')"));
        QVERIFY(beside().contains("ZN7Desktop.dat-wal"));
        m->prompts.answers.enqueue(false);
        m->trigger("mnuNew");
        QCOMPARE(m->prompts.modeLists.constLast().size(), 5);
        writer.close();
    }

    // An Open that runs out of memory says so and leaves the pattern shown
    // before as it was.
    void openOutOfMemory()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer reserves far more address space than any limit here");
#endif
        const QString kept = m->open("kept.PAT", "[T];BANK;\r\n[H];[C]:KEEP\r\n");
        const QString title = m->window.windowTitle();
        // Four million different cells: far more than 256 MB once loaded.
        QByteArray big = "[T];BANK;\r\n";
        for (int line = 0; line < 40000; ++line) {
            big += "[H]";
            for (int cell = 0; cell < 100; ++cell)
                big += ";[C]:" + QByteArray::number(line * 100 + cell);
            big += "\r\n";
        }
        QVERIFY(writeBytes(m->path("big.PAT"), big));
        big.clear();
        big.squeeze();
        QFile status(QStringLiteral("/proc/self/status"));
        QVERIFY(status.open(QIODevice::ReadOnly));
        const QByteArray vm = status.readAll();
        const qsizetype at = vm.indexOf("VmSize:");
        const rlim_t size = rlim_t(vm.mid(at + 7, vm.indexOf("kB", at) - at - 7).trimmed().toLongLong()) * 1024;
        rlimit normal{};
        getrlimit(RLIMIT_AS, &normal);
        const rlimit tight{size + (rlim_t(256) << 20), normal.rlim_max};
        m->prompts.files.enqueue(m->path("big.PAT"));
        QVERIFY(setrlimit(RLIMIT_AS, &tight) == 0);
        m->trigger("mnuOPen");
        setrlimit(RLIMIT_AS, &normal);
        QCOMPARE(m->prompts.told.size(), 1);
        QVERIFY2(m->prompts.told[0].startsWith(QStringLiteral("หน่วยความจำไม่พอสำหรับเปิดไฟล์ ")), qPrintable(m->prompts.told[0]));
        QCOMPARE(m->window.FileName, kept);
        QCOMPARE(m->window.windowTitle(), title);
        QCOMPARE(dump(m->window.PMODE, m->grid()), QStringList({"mode BANK", "row 1 type 0", "  11 [C]:KEEP:4"}));
    }

    // Open while another thread saves the same file again and again reads one pattern or the other, whole.
    void openWhileSaving()
    {
        QByteArray files[2] = {"[T];BANK;\r\n" + QByteArray("[H];[C]:AAAA\r\n").repeated(2000), "[T];TAX;\r\n" + QByteArray("[D];[C]:BB;[C]:CC\r\n").repeated(1500)};
        GridTableModel grids[2];
        QStringList dumps[2];
        for (int i = 0; i < 2; ++i) {
            QBuffer buffer(&files[i]);
            PatternReader reader;
            QVERIFY(reader.read(buffer));
            GridLayout::layOut(grids[i]);
            PatternFile::loadRows(reader.lines(), grids[i]);
            dumps[i] = dump(reader.mode(), grids[i]);
        }
        const QString path = m->open("shared.PAT", files[0]);
        std::atomic<bool> stop = false;
        std::atomic<int> saves = 0;
        std::thread saver([&] {
            for (; !stop; ++saves)
                PatternWriter().save(path, saves % 2 ? "TAX" : "BANK", grids[saves % 2]);
        });
        const auto join = qScopeGuard([&] { stop = true, saver.join(); });
        // At least 40 Opens, and on until 40 saves have run beside them: a save
        // (which syncs to disk) can take longer than an Open on a busy machine.
        int opens = 0;
        for (; opens < 40 || (saves < 40 && opens < 4000); ++opens) {
            m->prompts.files.enqueue(path);
            m->trigger("mnuOPen");
            QVERIFY(dumps[0] == dump(m->window.PMODE, m->grid()) || dumps[1] == dump(m->window.PMODE, m->grid()));
        }
        QVERIFY2(saves >= 40, qPrintable(QStringLiteral("%1 saves beside %2 opens").arg(int(saves)).arg(opens)));
        QCOMPARE(m->prompts.told, QStringList());
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
