#pragma once

#include "designer/patternpreview.h"

#include <QString>
#include <QStringList>

class PatternGrid;

// What changed between two versions of a pattern, as the lines of the
// export file see it: per row, the cells added, removed, moved or changed
// (field, length, alignment, fill, prefix, suffix, multi-line flag,
// constant text), each with the shift it causes for what follows it on the
// line and the line's length before and after. Rows are paired by their
// text where it is the same, the others in order; a difference that
// changes nothing written (a constant's stored count, a short descriptor
// against its long form) is none.
namespace PatternDiff {

struct Version
{
    QString mode;
    const PatternGrid *grid = nullptr;
    PatternPreview::Samples samples;
};

// One line per change, "row 3 (LOOP): Field4 PAYEENAME length 25 -> 30:
// positions 55-94 move by +5; line 128 -> 133"; none when the two write
// the same.
QStringList diff(const Version &before, const Version &after);

} // namespace PatternDiff
