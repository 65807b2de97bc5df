#pragma once

// A broken invariant stops the fuzzer with a message, so libFuzzer keeps the
// input as a crash artifact.

#include <QString>

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                       \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "invariant broken: %s\n  %s\n", #condition,              \
                         qPrintable(QString(what)));                                      \
            std::abort();                                                                 \
        }                                                                                 \
    } while (false)
