// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The order in which Tab visits the window's controls: every control of
// window/layout.h by its tab index. Labels are in it too, and are passed
// over, as they never take the focus.

#include <algorithm>
#include <array>

#include "window/layout.h"

inline constexpr std::array<Control, ControlCount> TabOrder = [] {
    std::array<Control, ControlCount> order{};
    for (int i = 0; i < ControlCount; ++i) order[i] = ControlTable[i].id;
    std::sort(order.begin(), order.end(),
              [](Control a, Control b) { return LayoutOf(a).tabIndex < LayoutOf(b).tabIndex; });
    return order;
}();
