// SPDX-License-Identifier: GPL-3.0-or-later
// The toolkit operations that both toolkits make of the others.
#include "window/toolkit.h"

bool SetProperty(FormWindow& window, Control control, std::string_view name, const PropertyValue& value)
{
    if (name == "Text" && std::holds_alternative<std::string>(value)) {
        return SetText(window, control, std::get<std::string>(value));
    }
    if (name == "ListIndex" && std::holds_alternative<int>(value)) {
        return SetListIndex(window, control, std::get<int>(value));
    }
    return false;
}
