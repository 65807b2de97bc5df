#pragma once

class PatternGrid;

// The pattern grid's geometry: column 1 is the line type, columns 11 to 110
// hold the fields Field1 to Field100, columns 2 to 10 are never defined.
namespace GridLayout {

inline constexpr int kTypeColumn = 1;
inline constexpr int kFirstFieldColumn = 11;
inline constexpr int kLastFieldColumn = 110;

// Lays the grid out anew: every row and its content is gone afterwards.
void layOut(PatternGrid &grid);

} // namespace GridLayout
