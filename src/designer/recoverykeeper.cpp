#include "recoverykeeper.h"

#include "components/gridtablemodel.h"
#include "components/prompts.h"
#include "designer/patternfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QLockFile>
#include <QStandardPaths>
#include <QUuid>

namespace {

const QString kSuffix = QStringLiteral(".recovery");
const QString kLockSuffix = QStringLiteral(".lock");

QString lockPathOf(const QString &copy)
{
    return copy.chopped(kSuffix.size()) + kLockSuffix;
}

} // namespace

RecoveryKeeper::RecoveryKeeper(const GridTableModel &grid, const QString &folder, int interval, QObject *parent)
    : QObject(parent)
    , m_grid(grid)
    , m_folder(folder)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(interval);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::write);
    connect(&grid, &GridTableModel::patternChanged, this, &RecoveryKeeper::onPatternChanged);
    m_writer.setMaxThreadCount(1);
}

RecoveryKeeper::~RecoveryKeeper()
{
    m_writer.waitForDone();
}

QString RecoveryKeeper::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

void RecoveryKeeper::setModified(bool modified)
{
    m_modified = modified;
    modified ? startIfDue() : removeCopy();
}

void RecoveryKeeper::setEnabled(bool enabled)
{
    m_enabled = enabled;
    enabled ? startIfDue() : removeCopy();
}

void RecoveryKeeper::startIfDue()
{
    // A running interval is not restarted: edits never put a copy off.
    if (m_modified && m_enabled && !m_timer.isActive())
        m_timer.start();
}

void RecoveryKeeper::removeCopy()
{
    m_timer.stop();
    // A copy being written would otherwise appear after its removal.
    m_writer.waitForDone();
    if (!m_path.isEmpty())
        QFile::remove(m_path);
}

void RecoveryKeeper::onPatternChanged(const GridChange &change)
{
    switch (change.kind) {
    case GridChange::Kind::Cells:
    case GridChange::Kind::RowRemoved:
    case GridChange::Kind::RowRestored:
        m_changedRows.insert(change.row);
        break;
    case GridChange::Kind::RowAdded:
    case GridChange::Kind::RowErased:
        // Rows that come or go move every row after them.
        m_firstMoved = std::min(m_firstMoved, change.row);
        break;
    case GridChange::Kind::Reset:
        m_allChanged = true;
        m_changedRows.clear();
        break;
    }
    startIfDue();
}

void RecoveryKeeper::write()
{
    if (!m_modified || !m_enabled)
        return;
    // The former copy is still being written: this one waits its turn.
    if (m_writing) {
        m_timer.start();
        return;
    }
    const Source source = m_source ? m_source() : Source();
    // A pattern without a mode cannot be saved, so there is nothing to keep.
    if (source.mode.isEmpty() || !openSession())
        return;
    if (m_allChanged) {
        m_rows = KeptPattern::rowsOf(m_grid);
    } else {
        m_rows.resize(m_grid.RowCount());
        for (const int row : std::as_const(m_changedRows)) {
            if (row >= 1 && row < m_firstMoved && row <= m_rows.size())
                m_rows[row - 1] = PatternFile::rowLine(m_grid, row);
        }
        for (int row = std::max(m_firstMoved, 1); row <= m_rows.size(); ++row)
            m_rows[row - 1] = PatternFile::rowLine(m_grid, row);
    }
    m_allChanged = false;
    m_changedRows.clear();
    m_firstMoved = INT_MAX;

    // The rows are shared with the thread, not copied: an edit meanwhile
    // copies the list of rows (implicit sharing), not the rows' text.
    KeptPattern pattern{source.fileName, source.mode, source.onDisk, m_rows};
    m_writing = true;
    m_writer.start([this, path = m_path, pattern = std::move(pattern)] {
        RecoveryWriter writer;
        const bool ok = writer.save(path, pattern);
        QMetaObject::invokeMethod(this, [this, ok, error = writer.errorString()] { written(ok, error); },
                                  Qt::QueuedConnection);
    });
}

void RecoveryKeeper::written(bool ok, const QString &error)
{
    m_writing = false;
    if (!ok)
        fail(error);
}

bool RecoveryKeeper::openSession()
{
    if (m_lock)
        return true;
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder)) {
        fail(tr("the folder cannot be made"));
        return false;
    }
    const QString copy = QDir(m_folder).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) + kSuffix);
    auto lock = std::make_unique<QLockFile>(lockPathOf(copy));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        fail(tr("its lock file cannot be written"));
        return false;
    }
    m_lock = std::move(lock);
    m_path = copy;
    return true;
}

void RecoveryKeeper::fail(const QString &reason)
{
    if (!m_enabled)
        return;
    m_enabled = false;
    m_timer.stop();
    Q_EMIT failed(QStringLiteral("ไม่สามารถเก็บสำเนาสำรองของงานไว้ที่ %1 ได้ (%2) "
                                 "ครั้งนี้จึงกู้คืนงานไม่ได้หากโปรแกรมปิดลงโดยไม่คาดคิด\n"
                                 "Crash recovery is off for this session: no copy of the pattern can be "
                                 "kept in \"%1\" (%2). Save your work as usual.")
                      .arg(QDir::toNativeSeparators(m_folder), reason));
}

std::optional<KeptPattern> RecoveryKeeper::offerKept(Questions &questions, Notices &notices)
{
    if (m_folder.isEmpty())   // QDir would take the working folder
        return std::nullopt;
    const QDir folder(m_folder);
    // A lock whose designer no longer runs and that guards no copy is left
    // over from a designer that ended before it wrote one.
    for (const QFileInfo &lockFile : folder.entryInfoList({QStringLiteral("*.lock")}, QDir::Files)) {
        const QString path = lockFile.filePath();
        if (QFileInfo::exists(path.chopped(kLockSuffix.size()) + kSuffix)
            || (!m_path.isEmpty() && path == lockPathOf(m_path)))
            continue;
        QLockFile lock(path);
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            lock.unlock();   // which removes it
    }

    // The copies of designers that no longer run, newest first, each held
    // under its lock until it is taken or dropped; one that cannot be read
    // is set aside, and all such are named in one notice.
    struct Offer
    {
        QFileInfo copy;
        std::unique_ptr<QLockFile> lock;
        KeptPattern kept;
    };
    std::vector<Offer> offers;
    QStringList setAside;
    for (const QFileInfo &copy : folder.entryInfoList({QLatin1Char('*') + kSuffix}, QDir::Files, QDir::Time)) {
        const QString path = copy.filePath();
        if (path == m_path)
            continue;
        auto lock = std::make_unique<QLockFile>(lockPathOf(path));
        lock->setStaleLockTime(0);   // only a designer that no longer runs leaves its copy
        if (!lock->tryLock(0))
            continue;
        RecoveryReader reader;
        if (!reader.readFile(path)) {
            // Kept aside, not offered again: perhaps a later version reads it.
            const QString aside = path + QStringLiteral(".unreadable");
            QFile::remove(aside);
            QFile::rename(path, aside);
            setAside.append(QStringLiteral("\"%1\": %2 Set aside as \"%3\".")
                                .arg(QDir::toNativeSeparators(path), reader.errorString(),
                                     QDir::toNativeSeparators(aside)));
            continue;
        }
        offers.push_back({copy, std::move(lock), reader.pattern()});
    }
    if (!setAside.isEmpty())
        notices.tell(QStringLiteral("ไฟล์สำรองงานต่อไปนี้เสียหายหรืออ่านไม่ได้ จึงไม่ได้นำมาใช้ และย้ายไปไว้ต่างหาก\n"
                                    "These recovery files cannot be used and were set aside:\n")
                         + setAside.join(u'\n'),
                     Notices::Icon::Warning);

    for (Offer &offer : offers) {
        const KeptPattern &kept = offer.kept;
        YesNoQuestion question;
        question.text = QStringLiteral("พบงานที่ยังไม่ได้บันทึกของ %1 (โหมด %2) ซึ่งเก็บสำรองไว้เมื่อ %3 "
                                       "ก่อนที่โปรแกรมจะปิดลงโดยไม่คาดคิด ต้องการกู้คืนหรือไม่\n"
                                       "The designer ended without saving \"%1\" (mode %2); a copy was kept "
                                       "at %3. Restore it? No discards the copy.")
                            .arg(QDir::toNativeSeparators(kept.fileName), kept.mode,
                                 QLocale().toString(offer.copy.lastModified(), QLocale::ShortFormat));
        question.yesIsDefault = true;
        // No throws the work away: only the button may say so.
        question.escapeAnswersNo = false;
        if (!questions.ask(question)) {
            QFile::remove(offer.copy.filePath());
            continue;
        }
        removeCopy();
        m_lock = std::move(offer.lock);
        m_path = offer.copy.filePath();
        return kept;
    }
    return std::nullopt;
}
