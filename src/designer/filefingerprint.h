#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

class Questions;

// A file as this designer last read or wrote it: its path, whether it was
// there, its size, its modification time and a hash of its bytes. Taken
// again later, a different fingerprint means that someone changed, replaced,
// made or removed the file in between, even with the same size and time (a
// shared folder may keep times to the second or two).
class FileFingerprint final
{
public:
    // Of no file: it is not compared with anything.
    FileFingerprint() = default;
    // The file at `path` as it is now. Only a regular file is read; another
    // kind of file (a folder, a pipe) counts by its size and time alone.
    static FileFingerprint of(const QString &path);
    // The file at `path` holding `bytes`, as just read or written: its time
    // is taken now. A file replaced since then has other bytes, so the
    // fingerprint matches neither the former nor the new file.
    static FileFingerprint ofBytes(const QString &path, QByteArrayView bytes);
    // The same for bytes read in parts, one after the other.
    static FileFingerprint ofParts(const QString &path, const QList<QByteArray> &parts);

    bool isNull() const { return m_path.isEmpty(); }
    QString path() const { return m_path; }
    // Whether the file at path() is still this one: its bytes are hashed
    // only when its size and time agree.
    bool matchesDisk() const;

    // One line of text without the path, and back; nothing for a text that
    // is none. The recovery file keeps a pattern's fingerprint so.
    QString toText() const;
    static std::optional<FileFingerprint> fromText(const QString &path, QStringView text);

    friend bool operator==(const FileFingerprint &, const FileFingerprint &) = default;

private:
    QString m_path;
    bool m_exists = false;
    qint64 m_size = 0;
    qint64 m_modified = 0;   // ms since the epoch, UTC
    QByteArray m_hash;
};

// Keeps the pattern file from being overwritten unseen: it remembers the file
// as this designer last opened or saved it, and before a save asks whether
// to overwrite a file that changed since.
class OverwriteGuard final
{
public:
    void remember(const FileFingerprint &file) { m_file = file; }
    const FileFingerprint &remembered() const { return m_file; }

    // Whether `path` may be written now. A path other than the remembered
    // file's, or an unchanged file, may; a changed, new or removed one only
    // when the user answers Yes (No is the default).
    bool mayWrite(const QString &path, Questions &questions) const;

private:
    FileFingerprint m_file;
};
