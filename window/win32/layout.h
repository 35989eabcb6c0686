// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window's geometry at its DPI: twips become pixels, each control has
// its place and its font, the window its client area, and the controls
// their stacking order.

#include <windows.h>

#include <vector>

#include "window/layout.h"

struct FormWindow;

// A fixed single border, the system menu and the close button only.
inline constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
inline constexpr DWORD WindowExStyle = WS_EX_CONTROLPARENT;

// Twips at dpi as whole pixels, rounded to the nearest.
int ToPixels(double twips, UINT dpi);
int ToTwips(int pixels, UINT dpi);

// A control's place at a DPI, in pixels. A drop-down list is given the
// height it has opened; closed, it is as high as its field.
struct Place {
    int left, top, width, height;
};
Place PlaceOf(const ControlLayout& layout, UINT dpi);

// The window's outer size for its client area as laid out at a DPI.
SIZE FrameSize(UINT dpi);

// Sizes the window so that its client area is as laid out at its DPI, at a
// new place when one is given.
void FitClientArea(const FormWindow& window, const RECT* at);

// Gives a control its font at the window's DPI, deleting the one it had.
void SetFont(FormWindow& window, const ControlLayout& layout);

// Makes the closed drop-down lists as high as laid out, whatever their font.
void FitDropDowns(const FormWindow& window);

// Places every control and sets its font for the window's new DPI.
void LayOut(FormWindow& window);

// The order the controls are created in, each below those before it.
std::vector<Control> StackingOrder();
