#include "patterndocument.h"

#include <QUndoStack>

PatternDocument::PatternDocument(QObject *parent)
    : QObject(parent)
    , m_history(new QUndoStack(this))
{
    connect(m_history, &QUndoStack::cleanChanged, this, [this](bool clean) { Q_EMIT modifiedChanged(!clean); });
}

bool PatternDocument::isModified() const
{
    return !m_history->isClean();
}

void PatternDocument::saved(const FileFingerprint &file)
{
    m_guard.remember(file);
    m_history->setClean();
}

void PatternDocument::madeUnsaved()
{
    m_history->resetClean();
}

void PatternDocument::dropped()
{
    m_history->setClean();
}
