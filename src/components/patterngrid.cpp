#include "patterngrid.h"

PatternGrid::~PatternGrid() = default;
