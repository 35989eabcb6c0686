// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what a screen reader must hear for each control of the window, one
// tab-separated line each: control, kind, name, description. The labels and
// buttons are heard by their captions in the layout table, the boxes and
// lists by the window's table of spoken names.
#include <QApplication>

#include <cstdio>
#include <string>

#include "window/layout.h"
#include "window/qt/form_window.h"
#include "window/screen_reader_names.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The number boxes' descriptions say their ranges, which the Qt window
    // alone gives.
    const FormWindow window(FormEvents{});
    const char* kinds[] = {"label", "text", "list", "button"};
    for (const ControlLayout& layout : ControlTable) {
        std::string name = layout.caption;
        for (const ScreenReaderName& spoken : ScreenReaderNames) {
            if (spoken.control == layout.id) name = SpokenName(spoken);
        }
        std::printf("%s\t%s\t%s\t%s\n", layout.name, kinds[static_cast<int>(layout.kind)], name.c_str(),
                    window.Widget(layout.id)->accessibleDescription().toUtf8().constData());
    }
    return 0;
}
