#pragma once

#include <cstdio>
#include <cstdlib>

// Ends the run with a message when a property fails; libFuzzer keeps the
// input that did it as a crash file.
inline void Require(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", property);
        std::abort();
    }
}
