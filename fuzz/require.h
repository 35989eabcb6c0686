// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Ends the run with a message when a property fails; libFuzzer keeps the
// input that did it as a crash file.
inline void Require(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", property);
        std::abort();
    }
}

// Reads the input as a run of Number values and checks every finite one.
template <class Number, class Check>
void ForEachFinite(const std::uint8_t* data, std::size_t size, Check check)
{
    for (std::size_t offset = 0; offset + sizeof(Number) <= size; offset += sizeof(Number)) {
        Number value;
        std::memcpy(&value, data + offset, sizeof value);
        if (std::isfinite(value)) {
            check(value);
        }
    }
}
