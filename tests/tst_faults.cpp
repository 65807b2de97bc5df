// Faults from outside: saves that fail part-way or have no folder to go to,
// pattern files that cannot be read, design databases that are missing,
// damaged or locked, hostile text in files, and bytes the Thai code page
// leaves undefined. In every case the user is told or the program goes on
// with what it can read, and nothing that was on disk or in the grid is lost.
// The tests run as root in CI, so no fault is made with file permissions.

#include "testsupport.h"

#include "components/grideditor.h"
#include "components/gridtablemodel.h"
#include "designer/frmcreatepattern.h"
#include "designer/gridlayout.h"
#include "designer/patternfile.h"
#include "field/frmfield.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kTitlePrefix = QStringLiteral("เครื่องมือสร้าง Pattern File [ Mode ");
const QString kSaved = QStringLiteral("บันทึกข้อมูลเสร็จเรียบร้อย");
const QString kInvalid = QStringLiteral("รูปแบบไฟล์  PATTERN ไม่ถูกต้อง กรุณาตรวจสอบข้อมูลให้ถูกต้อง");
// What "no hang" means for a test: far above the database's busy timeout.
constexpr qint64 kBoundMs = 10000;

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Text in the pattern files' code page.
QByteArray thai(const QString &text)
{
    QStringEncoder encoder("windows-874");
    return encoder.encode(text);
}

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

// Everything of the window a failed command must leave as it was.
struct WindowState
{
    QString fileName;
    QString mode;
    QString title;
    bool saveEnabled;
    bool saveAsEnabled;
    QString grid;

    friend bool operator==(const WindowState &, const WindowState &) = default;
};

QString gridText(const PatternGrid &grid)
{
    QString out;
    for (int r = 1; r <= grid.RowCount(); ++r) {
        out += QStringLiteral("%1 %2%3:").arg(r).arg(grid.CellListIndex(r, GridLayout::kTypeColumn))
                   .arg(grid.IsRowRemoved(r) ? QStringLiteral("x") : QString());
        for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c)
            out += grid.CellText(r, c) + u'|';
        out += u'\n';
    }
    return out;
}

WindowState stateOf(const frmCreatePattern &window)
{
    return {window.FileName, window.PMODE, window.windowTitle(), window.mnuSave->isEnabled(),
            window.mnuSaveAs->isEnabled(), gridText(*window.GridEditor1)};
}

char *toString(const WindowState &s)
{
    return QTest::toString(QStringLiteral("file %1, mode %2, title %3, save %4/%5, grid\n%6")
                               .arg(s.fileName, s.mode, s.title)
                               .arg(s.saveEnabled)
                               .arg(s.saveAsEnabled)
                               .arg(s.grid));
}

// Runs `save` with writes limited to `limit` bytes per file, as a full disk
// would limit them; a size limit stops root as it stops anyone.
template<typename Save>
bool withFileSizeLimit(rlim_t limit, Save save)
{
    rlimit saved{};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
        return false;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = limit;
    const bool limited = setrlimit(RLIMIT_FSIZE, &tight) == 0;
    const bool result = limited && save();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}

// Holds a write lock on a database through a connection of its own, as
// another program of the family would: "BEGIN EXCLUSIVE" keeps readers out too.
class DatabaseLock
{
public:
    explicit DatabaseLock(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        m_locked = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
    }
    ~DatabaseLock()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            if (m_locked)
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    bool isLocked() const { return m_locked; }

private:
    const QString m_name = QStringLiteral("holder");
    bool m_locked = false;
};

// Opens a FIFO for writing once its reader waits, or gives up at the
// deadline; a reader that blocked on the FIFO is released either way.
class FifoReleaser final : public QThread
{
public:
    FifoReleaser(const QString &path, int ms) : m_path(path.toLocal8Bit()), m_ms(ms) {}

protected:
    void run() override
    {
        const QDeadlineTimer deadline(m_ms);
        while (!deadline.hasExpired()) {
            if (isInterruptionRequested())
                return;
            msleep(50);
        }
        // Blocks only while nobody reads; by now the reader, if any, waits.
        const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }

private:
    QByteArray m_path;
    int m_ms;
};

// Ends the test program when a step runs past the deadline and cannot be
// released otherwise, such as a reader that takes bytes from a device
// without end and would take all memory before it stopped.
class Watchdog final : public QThread
{
public:
    explicit Watchdog(int ms) : m_ms(ms) { start(); }
    ~Watchdog() override
    {
        requestInterruption();
        wait();
    }

protected:
    void run() override
    {
        const QDeadlineTimer deadline(m_ms);
        while (!isInterruptionRequested()) {
            if (deadline.hasExpired())
                qFatal("Still running after %d ms: the step hangs", m_ms);
            msleep(20);
        }
    }

private:
    int m_ms;
};

QStringList fieldsOfMode(const QString &database, const QString &mode)
{
    QStringList fields;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(database);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            query.prepare(QStringLiteral("SELECT TTxPField FROM ZN7VTextExport WHERE TTxMMode = ? "
                                         "ORDER BY TTxPField"));
            query.addBindValue(mode);
            if (query.exec()) {
                while (query.next())
                    fields.append(query.value(0).toString().remove(u'{').remove(u'}'));
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return fields;
}

QStringList comboItems(const QComboBox &combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items.append(combo.itemText(i));
    return items;
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void writerReportsEveryShortWrite();
    void saveFailingPartWayKeepsFormerFile_data();
    void saveFailingPartWayKeepsFormerFile();
    void saveIntoVanishedFolder_data();
    void saveIntoVanishedFolder();
    void openUnreadableFile_data();
    void openUnreadableFile();
    void damagedDesignDatabase_data();
    void damagedDesignDatabase();
    void lockReleasedListsAgain();
    void hostileMode_data();
    void hostileMode();
    void hostileFileNames_data();
    void hostileFileNames();
    void undefinedCodePageBytesSurviveOpenAndSave_data();
    void undefinedCodePageBytesSurviveOpenAndSave();
    void editedCellLeavesOtherBytesAlone();

private:
    QString openPattern(const QString &name, const QByteArray &bytes);
    void fillRows(int rows);

    SampleInstallation *m_install = nullptr;
    TestContext *m_context = nullptr;
    frmCreatePattern *m_window = nullptr;
};

void TestFaults::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestFaults::init()
{
    m_install = new SampleInstallation;
    QVERIFY(m_install->isValid());
    m_context = new TestContext;
    m_context->useDesignDatabase(m_install->designDatabase());
    m_window = new frmCreatePattern(*m_context);
    m_window->show();
}

void TestFaults::cleanup()
{
    delete m_window;
    delete m_context;
    delete m_install;
}

// Writes a pattern file and opens it through the Open command; the path.
QString TestFaults::openPattern(const QString &name, const QByteArray &bytes)
{
    const QString path = m_install->filePath(name);
    if (!writeBytes(path, bytes))
        return {};
    m_context->files.answers.enqueue(path);
    m_window->mnuOPen_Click();
    m_context->messages.shown.clear();
    return path;
}

void TestFaults::fillRows(int rows)
{
    for (int r = 0; r < rows; ++r) {
        m_window->GridEditor1->AddRow();
        const int row = m_window->GridEditor1->Row();
        m_window->GridEditor1->SetCellListIndex(row, GridLayout::kTypeColumn, r % 3);
        m_window->GridEditor1->SetCellText(row, 11, QStringLiteral("[F]:{DOCNO}:10:R:0:::0"));
        m_window->GridEditor1->SetCellText(row, 12, QStringLiteral("[C]:ยอดรวม %1{NL}:9").arg(r, 3, 10, QLatin1Char('0')));
    }
}

void TestFaults::writerReportsEveryShortWrite()
{
    // A device that takes a few bytes and then refuses: however far the
    // writer got, it reports failure and never claims a complete file.
    class LimitedDevice final : public QIODevice
    {
    public:
        explicit LimitedDevice(qint64 limit) : m_limit(limit) {}
        QByteArray taken;

    protected:
        qint64 readData(char *, qint64) override { return -1; }
        qint64 writeData(const char *data, qint64 size) override
        {
            const qint64 n = qMin(size, m_limit - taken.size());
            if (n <= 0)
                return -1;
            taken.append(data, n);
            return n;
        }

    private:
        qint64 m_limit;
    };

    GridTableModel grid;
    GridLayout::layOut(grid);
    for (int r = 0; r < 3; ++r) {
        grid.AddRow();
        grid.SetCellText(grid.Row(), 11, QStringLiteral("[C]:เงินเดือน{NL}:8"));
        grid.SetCellText(grid.Row(), 12, QStringLiteral("[F]:{AMOUNT}:1,000:R:0:::0"));
    }
    QBuffer complete;
    PatternWriter writer;
    QVERIFY(writer.write(complete, QStringLiteral("PAYROLL"), grid));
    const qint64 size = complete.data().size();
    QVERIFY(size > 50);

    for (qint64 limit = 0; limit < size; ++limit) {
        LimitedDevice device(limit);
        QVERIFY(device.open(QIODevice::WriteOnly));
        QVERIFY2(!writer.write(device, QStringLiteral("PAYROLL"), grid), qPrintable(QString::number(limit)));
        QVERIFY(!writer.errorString().isEmpty());
        QCOMPARE(device.taken, complete.data().left(limit));
    }
    LimitedDevice roomy(size);
    QVERIFY(roomy.open(QIODevice::WriteOnly));
    QVERIFY(writer.write(roomy, QStringLiteral("PAYROLL"), grid));
    QCOMPARE(roomy.taken, complete.data());
}

void TestFaults::saveFailingPartWayKeepsFormerFile_data()
{
    QTest::addColumn<int>("limit");
    QTest::newRow("nothing written") << 0;
    QTest::newRow("one byte") << 1;
    QTest::newRow("inside the mode line") << 5;
    QTest::newRow("inside a Thai constant") << 300;
    QTest::newRow("one page") << 4096;
    QTest::newRow("one byte short") << -1;
}

void TestFaults::saveFailingPartWayKeepsFormerFile()
{
    QFETCH(int, limit);
    const QByteArray former = crlf({"[T];BANK;", "[H];[C]:FORMER;[F]:{DOCNO}:10:R:0:::0"});
    const QString path = openPattern(QStringLiteral("pay.PAT"), former);
    QVERIFY(!path.isEmpty());
    QCOMPARE(m_window->PMODE, QStringLiteral("BANK"));
    fillRows(200);

    QBuffer wanted;
    QVERIFY(PatternWriter().write(wanted, m_window->PMODE, *m_window->GridEditor1));
    const qint64 full = wanted.data().size();
    const rlim_t cap = limit < 0 ? rlim_t(full - 1) : rlim_t(limit);
    QVERIFY(qint64(cap) < full);

    const WindowState before = stateOf(*m_window);
    bool saved = true;
    QVERIFY(withFileSizeLimit(cap, [&] {
        saved = m_window->mnuSave_Click();
        return true;
    }));

    QVERIFY(!saved);
    QCOMPARE(readBytes(path), former);
    QCOMPARE(QDir(m_install->path()).entryList(QDir::Files, QDir::Name),
             (QStringList{QStringLiteral("ZN7Desktop.dat"), QStringLiteral("pay.PAT")}));
    QCOMPARE(m_context->messages.shown.size(), 1);
    const MessageRequest &message = m_context->messages.shown.constFirst();
    QCOMPARE(message.icon, QMessageBox::Critical);
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(path)), qPrintable(message.text));
    QVERIFY(!m_context->messages.texts().contains(kSaved));
    QCOMPARE(stateOf(*m_window), before);

    // The work is still in the grid: once there is room, it is saved.
    m_context->messages.shown.clear();
    QVERIFY(m_window->mnuSave_Click());
    QCOMPARE(m_context->messages.texts(), QStringList{kSaved});
    QCOMPARE(readBytes(path), wanted.data());
}

void TestFaults::saveIntoVanishedFolder_data()
{
    QTest::addColumn<bool>("saveAs");
    QTest::newRow("Save to the folder of the open file") << false;
    QTest::newRow("Save As into a folder that is gone") << true;
}

void TestFaults::saveIntoVanishedFolder()
{
    QFETCH(bool, saveAs);
    QDir root(m_install->path());
    QVERIFY(root.mkdir(QStringLiteral("work")));
    const QByteArray former = crlf({"[T];TAX;", "[G];" + thai(QStringLiteral("[C]:ภาษี"))});
    const QString path = openPattern(QStringLiteral("work/tax.PAT"), former);
    QVERIFY(!path.isEmpty());
    QCOMPARE(m_window->FileName, path);
    fillRows(3);
    const WindowState before = stateOf(*m_window);
    QVERIFY(QDir(m_install->filePath(QStringLiteral("work"))).removeRecursively());

    QString target = path;
    bool saved = true;
    if (saveAs) {
        target = m_install->filePath(QStringLiteral("work/elsewhere.PAT"));
        m_context->files.answers.enqueue(target);
        saved = m_window->mnuSaveAs_Click();
    } else {
        saved = m_window->mnuSave_Click();
    }

    QVERIFY(!saved);
    QCOMPARE(m_context->messages.shown.size(), 1);
    QCOMPARE(m_context->messages.shown.constFirst().icon, QMessageBox::Critical);
    QVERIFY2(m_context->messages.shown.constFirst().text.contains(QDir::toNativeSeparators(target)),
             qPrintable(m_context->messages.shown.constFirst().text));
    QVERIFY(!QFileInfo::exists(m_install->filePath(QStringLiteral("work"))));
    QCOMPARE(stateOf(*m_window), before);

    // With the folder back the same command saves the kept grid.
    QVERIFY(root.mkdir(QStringLiteral("work")));
    m_context->messages.shown.clear();
    if (saveAs)
        m_context->files.answers.enqueue(target);
    QVERIFY(saveAs ? m_window->mnuSaveAs_Click() : m_window->mnuSave_Click());
    QVERIFY(readBytes(target).startsWith(former));
}

void TestFaults::openUnreadableFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a folder") << QStringLiteral("folder");
    QTest::newRow("a link to nowhere") << QStringLiteral("dangling");
    QTest::newRow("a link to itself") << QStringLiteral("loop");
    QTest::newRow("a pipe nobody writes to") << QStringLiteral("fifo");
    QTest::newRow("a device without end") << QStringLiteral("device");
}

void TestFaults::openUnreadableFile()
{
    QFETCH(QString, kind);
    const QString good = openPattern(QStringLiteral("good.PAT"), crlf({"[T];PAYROLL;", "[H];[C]:A;[C]:B"}));
    QVERIFY(!good.isEmpty());
    const WindowState before = stateOf(*m_window);
    QCOMPARE(before.mode, QStringLiteral("PAYROLL"));

    QString path = m_install->filePath(QStringLiteral("bad.PAT"));
    const QByteArray native = QFile::encodeName(path);
    if (kind == u"folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == u"dangling") {
        QVERIFY(QFile::link(m_install->filePath(QStringLiteral("gone.PAT")), path));
    } else if (kind == u"loop") {
        QVERIFY(::symlink(native.constData(), native.constData()) == 0);
    } else if (kind == u"fifo") {
        QVERIFY(::mkfifo(native.constData(), 0600) == 0);
    } else if (kind == u"device") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    }

    // A reader that blocked on the pipe is let go after the bound, so the
    // test ends and fails instead of hanging.
    FifoReleaser releaser(path, int(kBoundMs));
    if (kind == u"fifo")
        releaser.start();
    QElapsedTimer clock;
    clock.start();
    {
        const Watchdog watchdog(int(kBoundMs) * 2);
        m_context->files.answers.enqueue(path);
        m_window->mnuOPen_Click();
    }
    const qint64 elapsed = clock.elapsed();
    releaser.requestInterruption();
    releaser.wait();

    QVERIFY2(elapsed < kBoundMs, qPrintable(QString::number(elapsed)));
    QCOMPARE(m_context->messages.shown.size(), 1);
    const MessageRequest &message = m_context->messages.shown.constFirst();
    QCOMPARE(message.icon, QMessageBox::Critical);
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(path)), qPrintable(message.text));
    QCOMPARE(stateOf(*m_window), before);
}

void TestFaults::damagedDesignDatabase_data()
{
    QTest::addColumn<QString>("damage");
    // Whether nothing at all can be read. Of pages overwritten SQLite may
    // still read some rows before it finds the damage.
    QTest::addColumn<bool>("unreadable");
    QTest::newRow("missing") << QStringLiteral("missing") << true;
    QTest::newRow("random bytes") << QStringLiteral("random") << true;
    QTest::newRow("empty file") << QStringLiteral("empty") << true;
    QTest::newRow("cut off after its first page") << QStringLiteral("truncated") << true;
    QTest::newRow("pages overwritten") << QStringLiteral("scribbled") << false;
    QTest::newRow("a folder") << QStringLiteral("folder") << true;
    QTest::newRow("write-locked by another program") << QStringLiteral("locked") << true;
}

void TestFaults::damagedDesignDatabase()
{
    QFETCH(QString, damage);
    QFETCH(bool, unreadable);
    const QString path = m_install->designDatabase();
    const QByteArray sample = readBytes(path);
    QVERIFY(sample.size() > 8192);
    QByteArray bytes = sample;
    if (damage == u"missing") {
        QVERIFY(QFile::remove(path));
    } else if (damage == u"random") {
        QRandomGenerator random(7);
        for (char &b : bytes)
            b = char(random.bounded(256));
        QVERIFY(writeBytes(path, bytes));
    } else if (damage == u"empty") {
        bytes.clear();
        QVERIFY(writeBytes(path, bytes));
    } else if (damage == u"truncated") {
        bytes = sample.left(4096);
        QVERIFY(writeBytes(path, bytes));
    } else if (damage == u"scribbled") {
        for (qsizetype i = 4096; i < bytes.size(); i += 7)
            bytes[i] = char(i * 31);
        QVERIFY(writeBytes(path, bytes));
    } else if (damage == u"folder") {
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
    }
    std::unique_ptr<DatabaseLock> lock;
    if (damage == u"locked") {
        lock = std::make_unique<DatabaseLock>(path);
        QVERIFY(lock->isLocked());
    }

    // New: the selection list opens, empty, and the pattern gets BANK; a
    // database that cannot be read leaves the title as it was.
    const QString title = m_window->windowTitle();
    QElapsedTimer clock;
    clock.start();
    m_window->mnuNew_Click();
    QVERIFY2(clock.elapsed() < kBoundMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_context->data.requests.size(), 1);
    QCOMPARE(m_window->FileName, QStringLiteral("Untitled.PAT"));
    QVERIFY(m_context->messages.shown.isEmpty());
    if (unreadable) {
        QCOMPARE(m_context->data.requests.constFirst().rows.size(), 0);
        QCOMPARE(m_window->PMODE, QStringLiteral("BANK"));
        QCOMPARE(m_window->windowTitle(), title);
    }

    // The field dialog opens with an empty list; a constant still works and
    // a data field comes out with an empty name.
    clock.restart();
    frmField dialog(*m_context, m_window);
    dialog.SetFormat(QStringLiteral("Field1"), QStringLiteral("BANK"), QString());
    dialog.show();
    QVERIFY2(clock.elapsed() < kBoundMs, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(dialog.isVisible());
    if (unreadable) {
        QCOMPARE(dialog.Combo1->count(), 0);
        QCOMPARE(dialog.GetFormat(), QStringLiteral("[F]:{}:1:L::::0"));
    }
    frmField constant(*m_context, m_window);
    constant.SetFormat(QStringLiteral("Field2"), QStringLiteral("BANK"), QStringLiteral("[C]:ยอด{NL}:3"));
    QCOMPARE(constant.GetFormat(), QStringLiteral("[C]:ยอด{NL}:3"));

    // Nothing was written to the database, whatever state it was in.
    lock.reset();
    if (damage == u"missing")
        QVERIFY(!QFileInfo::exists(path));
    else if (damage == u"folder")
        QVERIFY(QFileInfo(path).isDir());
    else
        QCOMPARE(readBytes(path), bytes);
}

void TestFaults::lockReleasedListsAgain()
{
    const QString path = m_install->designDatabase();
    const QString connection = m_context->settings.DesignConnection();
    const auto bankName = [&] {
        return m_context->data.LookupValue({}, 0, 0, QStringLiteral("TTxMMode"), QStringLiteral("BANK"),
                                           QStringLiteral("TTxMName"),
                                           QStringLiteral("ZN7TTextExportMode"), connection);
    };
    QVERIFY(!bankName().isEmpty());
    {
        DatabaseLock lock(path);
        QVERIFY(lock.isLocked());
        QCOMPARE(bankName(), QString());
    }
    QVERIFY(!bankName().isEmpty());
    m_window->mnuNew_Click();
    QCOMPARE(m_context->data.requests.size(), 1);
    QCOMPARE(m_context->data.requests.constFirst().rows.size(), 4);
}

void TestFaults::hostileMode_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("always true") << QStringLiteral("x') OR ('1'='1");
    QTest::newRow("drop table") << QStringLiteral("'; DROP TABLE ZN7TTextExportMode; --");
    QTest::newRow("comment out the rest") << QStringLiteral("BANK' --");
    QTest::newRow("wildcards") << QStringLiteral("%");
    QTest::newRow("command substitution") << QStringLiteral("$(touch pwned)`touch pwned`");
}

void TestFaults::hostileMode()
{
    QFETCH(QString, mode);
    const QString database = m_install->designDatabase();
    const QByteArray databaseBytes = readBytes(database);
    const QByteArray file = QByteArray("[T];") + mode.toLatin1() + ";\r\n[H];[C]:A;[F]:{DOCNO}:10:R:0:::0\r\n";
    const QString path = openPattern(QStringLiteral("hostile.PAT"), file);
    QVERIFY(!path.isEmpty());

    QCOMPARE(m_window->PMODE, mode);
    QCOMPARE(m_window->windowTitle(), kTitlePrefix + QStringLiteral(" ] - ") + path);
    QCOMPARE(m_window->GridEditor1->CellText(1, 12), QStringLiteral("[F]:{DOCNO}:10:R:0:::0"));

    // The dialog lists the fields of every mode and no others: the mode
    // matches no row.
    frmField dialog(*m_context, m_window);
    dialog.SetFormat(QStringLiteral("Field2"), m_window->PMODE, QString());
    const QStringList common = fieldsOfMode(database, QStringLiteral("ALL"));
    QVERIFY(!common.isEmpty());
    QCOMPARE(comboItems(*dialog.Combo1), common);

    QVERIFY(m_window->mnuSave_Click());
    QCOMPARE(readBytes(path), file);
    QCOMPARE(readBytes(database), databaseBytes);
    QVERIFY(!fieldsOfMode(database, QStringLiteral("BANK")).isEmpty());
    QVERIFY(!QFileInfo::exists(QStringLiteral("pwned")));
    QVERIFY(!QFileInfo::exists(m_install->filePath(QStringLiteral("pwned"))));
}

void TestFaults::hostileFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("command substitution") << QStringLiteral("$(touch pwned).PAT");
    QTest::newRow("back quotes and separator") << QStringLiteral("`touch pwned`;x.PAT");
    QTest::newRow("quotes") << QStringLiteral("a'b\"c.PAT");
    QTest::newRow("leading dash and spaces") << QStringLiteral("-rf  x .PAT");
    QTest::newRow("Thai") << QStringLiteral("รูปแบบ โอนเงิน.PAT");
}

void TestFaults::hostileFileNames()
{
    QFETCH(QString, name);
    const QByteArray file = crlf({"[T];BANK;", "[H];[C]:A"});
    const QString path = openPattern(name, file);
    QVERIFY(!path.isEmpty());
    QCOMPARE(m_window->FileName, path);
    QCOMPARE(m_window->GridEditor1->CellText(1, 11), QStringLiteral("[C]:A:1"));
    QVERIFY(m_window->mnuSave_Click());
    QCOMPARE(readBytes(path), file);
    QCOMPARE(QDir(m_install->path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 2);
    QVERIFY(!QFileInfo::exists(QStringLiteral("pwned")));
}

void TestFaults::undefinedCodePageBytesSurviveOpenAndSave_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("golden file")
        << readBytes(qEnvironmentVariable("ZN7_TEST_DATA")
                     + QStringLiteral("/patterns/bytes_the_code_page_leaves_undefined.PAT"));

    // Every byte but the line end and the cell separator, in a text cell and
    // in constants (which cannot hold ":").
    QByteArray all;
    for (int b = 1; b < 256; ++b) {
        if (b != '\n' && b != '\r' && b != ';')
            all += char(b);
    }
    QByteArray high;
    for (int b = 0x80; b < 256; ++b)
        high += char(b);
    QTest::newRow("every byte value")
        << crlf({"[T];BANK;", "[H];" + all, "[G];[C]:" + high + ";[C]:\xdb\xdc\xdd\xde{NL}\xfc\xfd\xfe\xff"});
    QTest::newRow("undefined bytes in the mode") << crlf({"[T];\xdb\xff;", "[D];[C]:\xde"});
}

void TestFaults::undefinedCodePageBytesSurviveOpenAndSave()
{
    QFETCH(QByteArray, file);
    QVERIFY(file.startsWith("[T];"));
    const QString path = openPattern(QStringLiteral("bytes.PAT"), file);
    QVERIFY(!path.isEmpty());
    QCOMPARE(m_window->FileName, path);
    QVERIFY(m_window->GridEditor1->RowCount() > 0);

    QVERIFY(m_window->mnuSave_Click());
    QCOMPARE(readBytes(path).toHex(' '), file.toHex(' '));
    QCOMPARE(m_context->messages.texts(), QStringList{kSaved});

    // And once more, through Save As to a new file.
    const QString copy = m_install->filePath(QStringLiteral("copy.PAT"));
    m_context->files.answers.enqueue(copy);
    QVERIFY(m_window->mnuSaveAs_Click());
    QCOMPARE(readBytes(copy).toHex(' '), file.toHex(' '));
}

void TestFaults::editedCellLeavesOtherBytesAlone()
{
    const QByteArray file = crlf({"[T];BANK;", "[H];[C]:\xdb\xdc ok;[C]:\xa1\xfc{NL};x\xff"});
    const QString path = openPattern(QStringLiteral("edit.PAT"), file);
    QVERIFY(!path.isEmpty());
    // The user replaces the second cell; the others keep their bytes.
    m_window->GridEditor1->SetCellText(1, 12, QStringLiteral("[C]:ใหม่:4"));
    QVERIFY(m_window->mnuSave_Click());
    QCOMPARE(readBytes(path).toHex(' '),
             crlf({"[T];BANK;", "[H];[C]:\xdb\xdc ok;[C]:\xe3\xcb\xc1\xe8;x\xff"}).toHex(' '));
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
