#pragma once

#include "library.h"

class ModePicker;
class Notices;
class PatternFileChooser;
class Questions;

// What the two windows need from outside: the library objects of the run
// and the ways they ask and tell the user things. Start-up provides the
// real ones; tests and benchmarks provide scripted ones.
class AppContext : public Library
{
public:
    virtual PatternFileChooser &fileChooser() = 0;
    virtual ModePicker &modePicker() = 0;
    virtual Questions &questions() = 0;
    virtual Notices &notices() = 0;
};
