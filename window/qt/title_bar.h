// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window's own title bar, for the Wayland compositors that leave the
// title bar to the program (weston, GNOME). Qt's own there always has
// minimise and maximise buttons; the window has a system menu and a close
// button only, and a fixed size.

#include <QWidget>

class QMenu;

// Before the application object is made, where Qt may start on Wayland:
// when the compositor draws no title bars itself (it offers no
// xdg-decoration), turns Qt's title bar off so that the window draws its own.
void LeaveTitleBarToWindow();

// Whether the window draws its own title bar: Qt's is off and Qt did start
// on Wayland.
bool DrawsOwnTitleBar();

// The window's icon, which opens the system menu, its title and a close
// button. Dragging the bar moves the window; a right-click opens the menu.
class TitleBar : public QWidget {
public:
    explicit TitleBar(QWidget* window);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QMenu* menu_;
};
