// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What screen readers call each box and list: the caption it belongs to,
// with a suffix that tells the unit lists and the result apart from the
// boxes beside them.

#include <string>

#include "calc/lens.h"
#include "calc/number_text.h"
#include "window/layout.h"

struct ScreenReaderName {
    Control control;
    Control caption;
    const char* suffix;
};

inline constexpr ScreenReaderName ScreenReaderNames[] = {
    {Control::Combo1, Control::Label2, " de Polegada"},
    {Control::Text1, Control::Label3, ""},
    {Control::Combo2, Control::Label3, " unidade"},
    {Control::Combo3, Control::Label3, " altura, largura ou diagonal"},
    {Control::Text2, Control::Label4, ""},
    {Control::Combo4, Control::Label4, " unidade"},
    {Control::Text3, Control::Label5, " %"},
    {Control::Text4, Control::Label6, " mm"},
};

inline std::string SpokenName(const ScreenReaderName& name)
{
    return std::string(LayoutOf(name.caption).caption) + name.suffix;
}

// What screen readers hear of each number box besides its name: the numbers
// it accepts.
struct NumberBoxRange {
    Control box;
    float lowest, highest;
};

inline constexpr NumberBoxRange NumberBoxRanges[] = {
    {Control::Text1, TargetSizeMin, TargetSizeMax},
    {Control::Text2, DistanceMin, DistanceMax},
    {Control::Text3, ScreenPercentMin, ScreenPercentMax},
};

// "Número entre 1 e 100": the numbers as the boxes take them, with the full
// stop whatever the user's decimal separator.
inline std::string RangeDescription(const NumberBoxRange& range)
{
    return "Número entre " + NumberToText(range.lowest, ".") + " e " + NumberToText(range.highest, ".");
}
