// Faults from outside: saves that fail part-way or have no folder to go to,
// pattern files that cannot be read, design databases that are missing,
// damaged or locked, hostile text, and bytes the Thai code page leaves
// undefined. The user is told or the program goes on with what it can read,
// and nothing on disk or in the grid is lost. The tests run as root in CI, so
// no fault is made with file permissions.

#include "testsupport.h"

#include "components/grideditor.h"
#include "designer/frmcreatepattern.h"
#include "designer/patternfile.h"
#include "field/frmfield.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A designer window on a temporary copy of the sample installation.
struct Fixture
{
    Fixture() { context.useDesignDatabase(install.designDatabase()); window.show(); }

    // Writes a pattern file and opens it through the Open command; the path.
    QString open(const QString &name, const QByteArray &bytes)
    {
        const QString path = install.filePath(name);
        context.files.answers.enqueue(path);
        if (writeBytes(path, bytes))
            window.mnuOPen_Click();
        return path;
    }
    // What a failed command must leave as it was: file name, title, menus
    // and everything the grid would save.
    QStringList state() const
    {
        return QStringList{window.FileName, window.windowTitle(),
                           QString::number(window.mnuSave->isEnabled() + 2 * window.mnuSaveAs->isEnabled())}
            << QString::fromLatin1(saved());
    }
    // The bytes a save of the window would write now.
    QByteArray saved() const
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        PatternWriter().write(buffer, window.PMODE, *window.GridEditor1);
        return buffer.data();
    }

    SampleInstallation install;
    TestContext context;
    frmCreatePattern window{context};
};

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

    std::optional<Fixture> m;

private Q_SLOTS:
    // Each test function's fixture replaces the one before.
    void init() { QVERIFY(m.emplace().install.isValid()); }

    // A command that fails tells the user with the file's name and leaves the
    // former file and the window as they were. A failed save keeps the work,
    // so the same command saves it once the fault is gone.
    void failedCommandKeepsEverything_data()
    {
        QTest::addColumn<QString>("command");
        // "disk N": the disk takes N bytes (below 0: that many short of the
        // file); "gone": the folder is removed; else what bad.PAT is.
        QTest::addColumn<QString>("fault");
        QTest::newRow("disk full at once") << "Save" << "disk 0";
        QTest::newRow("disk full part-way, in a Thai constant") << "Save" << "disk 285";
        QTest::newRow("disk full one byte short") << "Save" << "disk -1";
        QTest::newRow("disk full on Save As") << "Save As" << "disk 1000";
        QTest::newRow("folder gone on Save") << "Save" << "gone";
        QTest::newRow("folder gone on Save As") << "Save As" << "gone";
        QTest::newRow("open a folder") << "Open" << "folder";
        QTest::newRow("open a pipe nobody writes to") << "Open" << "pipe";
        QTest::newRow("open a link to nowhere") << "Open" << "link gone.PAT";
        QTest::newRow("open a device without end") << "Open" << "link /dev/zero";
    }
    void failedCommandKeepsEverything()
    {
        QFETCH(QString, command);
        QFETCH(QString, fault);
        QDir work(m->install.filePath(QStringLiteral("work")));
        QVERIFY(QDir().mkdir(work.path()));
        // 200 rows, each with a Thai constant.
        const QByteArray former = "[T];BANK;\r\n" + QByteArray("[G];[C]:\xc0\xd2\xc9\xd5;[F]:{DOCNO}:10:R:0:::0\r\n").repeated(200);
        const QString path = m->open(QStringLiteral("work/pay.PAT"), former);
        m->window.GridEditor1->SetCellText(1, 11, QStringLiteral("[C]:ยอดรวม{NL}:5"));
        const QByteArray wanted = m->saved();
        const QString target = command == u"Save" ? path
                             : command == u"Open" ? m->install.filePath(QStringLiteral("bad.PAT")) : work.filePath(QStringLiteral("elsewhere.PAT"));
        const auto run = [&] {
            m->context.files.answers.enqueue(target); // unused by Save
            if (command == u"Open")
                m->window.mnuOPen_Click();
            return command == u"Open" ? m->window.FileName == target
                 : command == u"Save" ? m->window.mnuSave_Click() : m->window.mnuSaveAs_Click();
        };

        const QStringList before = m->state();
        const bool disk = fault.startsWith(u"disk");
        QVERIFY(disk || (fault == u"gone"     ? work.removeRecursively()
                         : fault == u"folder" ? QDir().mkdir(target)
                         : fault == u"pipe"   ? ::mkfifo(QFile::encodeName(target).constData(), 0600) == 0
                                              : ::symlink(QFile::encodeName(fault.mid(5)).constData(), QFile::encodeName(target).constData()) == 0));
        // A size limit fails the write part-way as a full disk would, and stops root too.
        rlimit normal{};
        getrlimit(RLIMIT_FSIZE, &normal);
        const rlimit tight{disk ? rlim_t((wanted.size() + fault.mid(5).toInt()) % wanted.size()) : normal.rlim_cur, normal.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN); // so an over-limit write fails instead of ending the test
        QFile direct(m->install.filePath(QStringLiteral("direct.PAT")));
        QVERIFY(direct.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QVERIFY(setrlimit(RLIMIT_FSIZE, &tight) == 0);
        // The writer itself reports a device that stops taking bytes.
        const bool written = PatternWriter().write(direct, m->window.PMODE, *m->window.GridEditor1);
        // Waiting on the pipe or reading the device without end would hang
        // here until the test times out.
        const bool done = run();
        setrlimit(RLIMIT_FSIZE, &normal);
        QCOMPARE(written, !disk);
        QVERIFY(!done);
        const QList<MessageRequest> &shown = m->context.messages.shown;
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].icon == QMessageBox::Critical && shown[0].text.contains(QDir::toNativeSeparators(target)),
                 qPrintable(shown[0].text));
        QCOMPARE(m->state(), before);
        QCOMPARE(readBytes(path), fault == u"gone" ? QByteArray() : former);
        // No part of a new file is left anywhere.
        QCOMPARE(work.entryList(QDir::Files), fault == u"gone" ? QStringList() : QStringList{QStringLiteral("pay.PAT")});
        if (command == u"Open")
            return;

        QVERIFY(fault != u"gone" || QDir().mkdir(work.path()));
        QVERIFY(run());
        QCOMPARE(readBytes(target), wanted);
    }

    // The mode list and the field dialog open with empty lists; nothing is
    // written to the database, and once a lock is released the modes list again.
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
        QByteArray bytes = readBytes(path);
        QRandomGenerator random(7);
        for (char &b : bytes)
            b = damage == u"random bytes" ? char(random.bounded(256)) : b;
        QVERIFY(damage == u"missing" ? QFile::remove(path) : writeBytes(path, bytes));
        // Another connection holds a write transaction, which keeps readers out too.
        std::optional<QSqlDatabase> lock;
        if (damage == u"write-locked") {
            lock = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
            lock->setDatabaseName(path);
            QVERIFY(lock->open() && QSqlQuery(*lock).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        }

        // New: no mode can be read, so the pattern gets BANK and the title keeps its text.
        const QString title = m->window.windowTitle();
        m->window.mnuNew_Click();
        QCOMPARE(m->context.data.requests.size(), 1);
        QCOMPARE(m->context.data.requests.constFirst().rows.size(), 0);
        QCOMPARE(m->window.PMODE, QStringLiteral("BANK"));
        QCOMPARE(m->window.windowTitle(), title);
        QVERIFY(m->context.messages.shown.isEmpty());
        frmField dialog(m->context, &m->window);
        dialog.SetFormat(QStringLiteral("Field1"), QStringLiteral("BANK"), QString());
        dialog.show();
        QCOMPARE(dialog.Combo1->count(), 0);
        QCOMPARE(dialog.GetFormat(), QStringLiteral("[F]:{}:1:L::::0"));

        if (lock) {
            lock.reset(); // closing the connection rolls the transaction back
            QSqlDatabase::removeDatabase(QStringLiteral("holder"));
            m->context.messages.answers.enqueue(QMessageBox::No); // "Save your Data ?"
            m->window.mnuNew_Click();
            QCOMPARE(m->context.data.requests.constLast().rows.size(), 4);
        }
        // Nothing was written to the database.
        QCOMPARE(QFileInfo::exists(path), damage != u"missing");
        QCOMPARE(readBytes(path), damage == u"missing" ? QByteArray() : bytes);
    }

    // Hostile text, and bytes windows-874 leaves undefined (0xDB..0xDE,
    // 0xFC..0xFF), go through Open and Save byte for byte when another cell
    // of the row is edited. No mode matches such text, so the field dialog
    // lists only the fields common to every mode, and nothing is run or
    // written elsewhere.
    void fileTextKeptAsIs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("file"); // the cell edited is "[C]:A" in row 1
        const std::pair<const char *, const char *> hostile[] = {
            {"x') OR ('1'='1", "$(touch pwned).PAT"}, {"'; DROP TABLE ZN7TTextExportMode; --", "`touch pwned`;x.PAT"},
            {"BANK' --", "a'b\"c.PAT"}, {"%", "-rf  x .PAT"}, {"$(touch pwned)`touch pwned`", "รูปแบบ โอนเงิน.PAT"}};
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
        QFETCH(QString, name);
        QFETCH(QByteArray, file);
        const QByteArray database = readBytes(m->install.designDatabase());
        const QString path = m->open(name, file);
        QCOMPARE(m->window.windowTitle(), QStringLiteral("เครื่องมือสร้าง Pattern File [ Mode  ] - ") + path);
        frmField dialog(m->context), common(m->context);
        dialog.SetFormat(QStringLiteral("Field2"), m->window.PMODE, QString());
        common.SetFormat(QStringLiteral("Field2"), QStringLiteral("ALL"), QString());
        QVERIFY(common.Combo1->count() > 0);
        QCOMPARE(dialog.Combo1->count(), common.Combo1->count());
        m->window.GridEditor1->SetCellText(1, 11, QStringLiteral("[C]:ใหม่:4"));
        QVERIFY(m->window.mnuSave_Click());
        QCOMPARE(readBytes(path).toHex(' '), QByteArray(file).replace("[C]:A;", "[C]:\xe3\xcb\xc1\xe8;").toHex(' '));
        QCOMPARE(readBytes(m->install.designDatabase()), database);
        QCOMPARE(QDir(m->install.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
        QVERIFY(!QFileInfo::exists(QStringLiteral("pwned")));
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
