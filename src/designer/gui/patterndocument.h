#pragma once

#include "designer/filefingerprint.h"

#include <QObject>

class QUndoStack;

// The pattern being designed, as a document: the history of its changes,
// whether it has changes not saved, and the file as this designer last
// read or wrote it, which Save is kept from overwriting unseen. The pattern
// itself lives in the grid, whose control records every change into this
// history; "modified" is where the history stands against the point it was
// opened, made or saved at, so undoing back to a saved pattern leaves it
// unmodified.
class PatternDocument final : public QObject
{
    Q_OBJECT

public:
    explicit PatternDocument(QObject *parent = nullptr);

    QUndoStack *history() const { return m_history; }
    OverwriteGuard &guard() { return m_guard; }
    const OverwriteGuard &guard() const { return m_guard; }

    bool isModified() const;
    // The pattern as it stands was written to `file`.
    void saved(const FileFingerprint &file);
    // The pattern as it stands is in no file: taken back after a crash, or
    // made from a table; it is modified until saved.
    void madeUnsaved();
    // The user let the pattern go without saving it.
    void dropped();

Q_SIGNALS:
    void modifiedChanged(bool modified);

private:
    QUndoStack *m_history;
    OverwriteGuard m_guard;
};
