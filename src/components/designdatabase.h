#pragma once

#include <QList>
#include <QString>
#include <optional>

// A working mode: its code and display name.
struct WorkingMode
{
    QString code;
    QString name;

    friend bool operator==(const WorkingMode &, const WorkingMode &) = default;
};

// An exportable data field as the design database describes it.
struct DesignField
{
    QString field;            // the identifier without braces, DOCNO
    QString name;             // descriptive name
    QString sample;           // sample data
    QString formattedSample;  // the sample as formatted text, what a pattern lays out

    friend bool operator==(const DesignField &, const DesignField &) = default;
};

// What a read of the design database gave: the value, or nothing and why
// (errorString()). It reads as the optional value it holds, so a caller
// that needs no reason treats a failure as no value.
template <typename T>
class DesignRead : public std::optional<T>
{
public:
    DesignRead(T value) : std::optional<T>(std::move(value)) {}
    static DesignRead failed(QString why)
    {
        DesignRead read;
        read.m_error = std::move(why);
        return read;
    }
    QString errorString() const { return m_error; }

private:
    DesignRead() = default;
    QString m_error;
};

// The design database of the installation: the working modes and the
// fields each mode exports. Every read opens the database read-only for
// that read alone, with values bound, never pasted into the query. A read
// that fails anywhere (the file, a table or column gone, a lock held past
// the wait) gives no value and the database's own words for why, so
// callers can tell an unreadable database from one that has no such rows.
class DesignDatabase final
{
public:
    // `connection` is a connection text of DataTools.
    explicit DesignDatabase(QString connection);

    // The modes a pattern can have (every one but "ALL", which marks the
    // fields of all modes), ordered by name.
    DesignRead<QList<WorkingMode>> modes() const;

    // The display name of a mode; "" for a mode the database does not know.
    DesignRead<QString> modeName(const QString &code) const;

    // The fields of a mode and those of every mode ("ALL"), ordered by
    // identifier, one entry per row.
    DesignRead<QList<DesignField>> fields(const QString &mode) const;

private:
    QString m_connection;
};
