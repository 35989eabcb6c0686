// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what a screen reader must hear for each control of the window, one
// tab-separated line each: control, kind, name, description. The labels and
// buttons are heard by their captions in the layout table.
#include <QApplication>

#include <cstdio>

#include "window/layout.h"
#include "window/qt/form_window.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The names and descriptions of the boxes and lists: read from the table
    // of them as the Qt window applies it, until that table sits beside the
    // layout table and can be printed directly.
    const FormWindow window(FormEvents{});
    const char* kinds[] = {"label", "text", "list", "button"};
    for (const ControlLayout& layout : ControlTable) {
        const QWidget* control = window.Widget(layout.id);
        const bool captioned = layout.kind == Kind::Label || layout.kind == Kind::Button;
        std::printf("%s\t%s\t%s\t%s\n", layout.name, kinds[static_cast<int>(layout.kind)],
                    captioned ? layout.caption : control->accessibleName().toUtf8().constData(),
                    control->accessibleDescription().toUtf8().constData());
    }
    return 0;
}
