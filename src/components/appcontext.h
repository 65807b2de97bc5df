#pragma once

#include "library.h"

class FileDialogs;
class MessageBoxes;

// What the two windows need from outside: the library objects of the run and
// the modal displays they raise (message boxes, the file dialog; the
// selection list is DataTools::SelectFromList). Start-up provides the real
// ones; tests provide their own to answer and record.
class AppContext : public Library
{
public:
    virtual FileDialogs &fileDialogs() = 0;
    virtual MessageBoxes &messageBoxes() = 0;
};
