#pragma once

#include <QByteArray>
#include <QString>

// The inputs every benchmark works on, generated once per run into a
// temporary folder: pattern files of 100, 1,000 and 10,000 rows with 100
// filled cells each, and a copy of the sample design database with one mode
// of 2,000 fields.
namespace Workload {

inline constexpr int kCellsPerRow = 100;
inline constexpr int kFieldCount = 2000;
inline constexpr char kBigMode[] = "BIG";

// The bytes of a pattern file of `rows` row lines in mode BANK: descriptors
// and Thai constants mixed, constants in file form (no count), in the Thai
// code page, CR LF after every line. Saving the loaded pattern gives the same
// bytes back.
QByteArray patternBytes(int rows);
// The same as a file of the run's folder, written on first use.
QString patternPath(int rows);

// An export file of `lines` lines and the three-row bank pattern that
// wrote it (a header, a detail for every other line, a trailer), in the
// Thai code page, written on first use.
QString exportPatternPath();
QString exportFilePath(int lines);
// The 10,000-row pattern with one field of its middle row longer, and a
// bank's layout table of three records, for comparing.
QString changedPatternPath();
QString layoutTablePath();
// A pattern file of kShortLines row lines of one cell each, all alike
// ("[H];[C]:A"): 11 bytes a line, the file of figure 7b.
inline constexpr int kShortLines = 1000000;
QString shortLinesPath();

// The design database with mode kBigMode holding kFieldCount fields; "" when
// the sample database could not be copied or filled.
QString fieldDatabasePath();

// A path in the run's folder for files the benchmarks write.
QString scratchPath(const QString &name);

} // namespace Workload
