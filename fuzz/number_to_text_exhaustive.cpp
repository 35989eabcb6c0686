// SPDX-License-Identifier: GPL-3.0-or-later
// NumberToText against the old one over all 2^32 float bit patterns, with
// both separators, on as many threads as the machine has cores. Prints the
// count compared and the first differences; exits non-zero on any.
#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "calc/number_text.h"
#include "fuzz/old_number_text.h"

int main()
{
    constexpr std::uint64_t Patterns = std::uint64_t{1} << 32;
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    std::atomic<std::uint64_t> compared = 0;
    std::atomic<std::uint64_t> differences = 0;
    std::mutex output;
    {
        std::vector<std::jthread> workers;
        for (unsigned t = 0; t < threads; ++t) {
            workers.emplace_back([&, t] {
                std::uint64_t mine = 0;
                for (std::uint64_t bits = t; bits < Patterns; bits += threads) {
                    const auto value = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
                    for (const char* separator : {".", ","}) {
                        const std::string text = NumberToText(value, separator);
                        const std::string old = OldNumberToText(value, separator);
                        if (text != old && differences++ < 20) {
                            const std::lock_guard lock(output);
                            std::printf("0x%08llx %s: \"%s\" was \"%s\"\n", static_cast<unsigned long long>(bits),
                                        separator, text.c_str(), old.c_str());
                        }
                    }
                    ++mine;
                }
                compared += mine;
            });
        }
    }
    std::printf("%llu float bit patterns compared, %llu differences\n",
                static_cast<unsigned long long>(compared.load()), static_cast<unsigned long long>(differences.load()));
    return differences == 0 && compared == Patterns ? 0 : 1;
}
