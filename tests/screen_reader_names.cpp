// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what a screen reader must hear for each control of the window, one
// tab-separated line each: control, kind, name, description. The labels and
// buttons are heard by their captions in the layout table, the boxes and
// lists as tests/spoken_names.h writes them out.
#include <cstdio>
#include <string>

#include "tests/spoken_names.h"
#include "window/layout.h"

int main()
{
    const char* kinds[] = {"label", "text", "list", "button"};
    for (const ControlLayout& layout : ControlTable) {
        Heard heard{layout.id, layout.caption, ""};
        for (const Heard& named : BoxesAndLists) {
            if (named.control == layout.id) heard = named;
        }
        std::printf("%s\t%s\t%s\t%s\n", layout.name, kinds[static_cast<int>(layout.kind)], heard.name,
                    heard.description);
    }
    return 0;
}
