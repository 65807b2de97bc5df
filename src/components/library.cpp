#include "library.h"

Library::~Library() = default;
