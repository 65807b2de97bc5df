#pragma once

#include <climits>

#include "designer/filefingerprint.h"
#include "designer/recoveryfile.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class GridTableModel;
struct GridChange;
class Notices;
class QLockFile;
class Questions;

// Keeps a copy of the pattern while it has changes not saved, so that the
// next start can bring it back after a crash. The copy is a recovery file
// in `folder`, written whole or not at all, on a thread of its own, a whole
// interval after a change (later changes do not put it off) and so at most
// once an interval; it is removed once the pattern has no changes left
// unsaved. Each running designer keeps its own file under a lock, so a
// second designer neither overwrites it nor offers it while the first runs.
class RecoveryKeeper final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kInterval = 2000;   // ms

    // What the copy holds besides the rows, asked at each write.
    struct Source
    {
        QString fileName;
        QString mode;
        FileFingerprint onDisk;
    };

    // A copy is written `interval` ms after a change.
    RecoveryKeeper(const GridTableModel &grid, const QString &folder, int interval = kInterval,
                   QObject *parent = nullptr);
    // Waits for a copy being written. The copy stays: only a pattern saved
    // or dropped removes it.
    ~RecoveryKeeper() override;

    void setSource(std::function<Source()> source) { m_source = std::move(source); }

    // Whether the pattern has changes not saved. Set, a copy is kept from
    // the next interval on; cleared (the pattern saved, dropped or replaced),
    // the copy is removed.
    void setModified(bool modified);
    // Whether copies are kept. A copy that cannot be written turns keeping
    // off for the rest of the session, with failed().
    void setEnabled(bool enabled);

    // The copies of designers that ended without removing theirs, newest
    // first, each offered through `questions`. No removes that copy; those
    // that cannot be read are set aside, all named in one notice. The first
    // one taken is returned and kept from then on as this designer's own
    // copy. Locks of ended designers that guard no copy are removed.
    std::optional<KeptPattern> offerKept(Questions &questions, Notices &notices);

    // Where copies are kept: the user's data folder for the program.
    static QString defaultFolder();

Q_SIGNALS:
    // A copy could not be written; `notice` tells the user that keeping
    // copies is off for this session. Emitted at most once.
    void failed(const QString &notice);

private:
    void onPatternChanged(const GridChange &change);
    void write();
    void written(bool ok, const QString &error);
    bool openSession();
    void fail(const QString &reason);
    void removeCopy();
    // Starts the interval when a copy is due and none is on its way.
    void startIfDue();

    const GridTableModel &m_grid;
    const QString m_folder;
    std::function<Source()> m_source;
    QTimer m_timer;
    bool m_modified = false;
    bool m_enabled = true;
    bool m_writing = false;
    // The rows as the last copy held them; rows changed since are rebuilt at
    // the next write, all of them after a new layout or a bulk load, and
    // every row from the first that rows inserted or taken out moved.
    QStringList m_rows;
    QSet<int> m_changedRows;
    int m_firstMoved = INT_MAX;
    bool m_allChanged = true;
    QString m_path;                      // this session's copy, once it has one
    std::unique_ptr<QLockFile> m_lock;   // held while the session runs
    QThreadPool m_writer;                // one thread; last, so it ends first
};
