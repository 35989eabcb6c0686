// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the window's icon images as PNG files for the desktop's icon theme:
// icon_png OUT16 OUT32.

#include <QImage>

#include <cstdio>

#include "window/qt/icon16.xpm"
#include "window/qt/icon32.xpm"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: icon_png OUT16.png OUT32.png\n", stderr);
        return 2;
    }
    const bool saved = QImage(orvanta_icon_16).save(argv[1], "PNG") && QImage(orvanta_icon_32).save(argv[2], "PNG");
    return saved ? 0 : 1;
}
