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

// The design database of the installation: the working modes and the
// fields each mode exports. Every read opens the database read-only for
// that read alone, with values bound, never pasted into the query. Nothing
// is returned when the database is missing or cannot be read, so callers
// can tell an unreadable database from one that has no such rows.
class DesignDatabase final
{
public:
    // `connection` is a connection text of DataTools.
    explicit DesignDatabase(QString connection);

    // The modes a pattern can have (every one but "ALL", which marks the
    // fields of all modes), ordered by name.
    std::optional<QList<WorkingMode>> modes() const;

    // The display name of a mode; "" for a mode the database does not know.
    std::optional<QString> modeName(const QString &code) const;

    // The fields of a mode and those of every mode ("ALL"), ordered by
    // identifier, one entry per row.
    std::optional<QList<DesignField>> fields(const QString &mode) const;

private:
    QString m_connection;
};
