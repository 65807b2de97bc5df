#pragma once

#include <QString>

class PatternGrid;

// Filling a line up to the record length a bank requires: a constant of one
// character repeated, put into a field cell.
namespace LineFill {

// The longest filler: a cell's length is read as a 16-bit number.
inline constexpr int kMaxLength = 32767;

// The constant of `length` times `character`, as a cell stores it.
QString fillerDescriptor(QChar character, int length);

// What filling a row's line to the record length takes.
struct Fill
{
    enum class Status {
        Fills,           // a filler of `length` into `column` brings the line to the record length
        NoRecordLength,  // none was stated (or none a cell could hold)
        NoLine,          // the row is no line of the pattern
        NoEmptyCell,     // every field cell of the row is filled
        AtLength,        // the line is as long as the record already
        Longer,          // the line is longer than the record
    };
    Status status = Status::NoLine;
    int column = 0;      // Fills: the row's first empty field cell
    int length = 0;      // Fills: the filler's length
    int lineLength = 0;  // what the line writes now, once there is a record length

    friend bool operator==(const Fill &, const Fill &) = default;
};

// The filler for `row`: it goes into the row's first empty field cell, and
// the line it fills is the output line that cell writes into, counted as
// the file has it (a field its length, a constant its text). A constant's
// line break ({NL}) makes a row several output lines, each a record.
Fill toRecordLength(const PatternGrid &grid, int row, int recordLength);

} // namespace LineFill
