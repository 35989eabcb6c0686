// SPDX-License-Identifier: GPL-3.0-or-later
// ParseNumber against the old one on arbitrary bytes: the same double, bit
// for bit.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calc/number_text.h"
#include "fuzz/old_number_text.h"
#include "fuzz/require.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Require(SameBits(ParseNumber(text), OldParseNumber(text)), "ParseNumber reads as the old one");
    return 0;
}
