// SPDX-License-Identifier: GPL-3.0-or-later
// NumberToText against the old one on every float bit pattern in the input
// (its bytes taken four at a time, NaNs and infinities included), with both
// separators: the same text, character for character.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "calc/number_text.h"
#include "fuzz/old_number_text.h"
#include "fuzz/require.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (std::size_t offset = 0; offset + sizeof(float) <= size; offset += sizeof(float)) {
        float value;
        std::memcpy(&value, data + offset, sizeof value);
        for (const char* separator : {".", ","}) {
            Require(NumberToText(value, separator) == OldNumberToText(value, separator),
                    "NumberToText writes as the old one");
        }
    }
    return 0;
}
