// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/win32/layout.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <string>

#include "window/screen_reader_names.h"
#include "window/tab_order.h"
#include "window/win32/form_window.h"

namespace {

// Lines an opened pick list shows.
constexpr int ListLines = 8;

// "MS Sans Serif" is a bitmap font on Windows 10 and 11, drawn jagged or at
// its nearest bitmap size when scaled; its TrueType successor of the same
// design scales to every size.
std::wstring FaceOf(const FontStyle& font)
{
    return std::string_view(font.face) == "MS Sans Serif" ? L"Microsoft Sans Serif" : Wide(font.face);
}

}  // namespace

int ToPixels(double twips, UINT dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440));
}

int ToTwips(int pixels, UINT dpi)
{
    return MulDiv(pixels, 1440, static_cast<int>(dpi));
}

Place PlaceOf(const ControlLayout& layout, UINT dpi)
{
    const int height = ToPixels(layout.height, dpi);
    return {ToPixels(layout.left, dpi), ToPixels(layout.top, dpi), ToPixels(layout.width, dpi),
            layout.kind == Kind::DropDown ? height * (ListLines + 1) : height};
}

// Makes the closed drop-down lists as high as laid out, whatever their font:
// their selection fields are made as much higher or lower. Each resize
// also moves the list's popup, so each list is given its field once: what
// a closed list adds to its field is measured on the first. So is what
// Wine adds: it keeps the field 2 pixels higher than it is given, and the
// others are given that much less.
void FitDropDowns(const FormWindow& window)
{
    const auto field = [](HWND list) {
        return static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    };
    std::optional<int> frame;
    int excess = 0;
    for (const ControlLayout& layout : ControlTable) {
        if (layout.kind != Kind::DropDown) continue;
        HWND list = window.Handle(layout.id);
        const int height = ToPixels(layout.height, window.dpi);
        if (!frame) {
            RECT closed;
            GetWindowRect(list, &closed);
            frame = closed.bottom - closed.top - field(list);
            SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - *frame);
            excess = field(list) - (height - *frame);
            if (excess == 0) continue;
        }
        SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - *frame - excess);
    }
}

void SetFont(FormWindow& window, const ControlLayout& layout)
{
    const int index = static_cast<int>(layout.id);
    HWND control = window.controls[index];
    const HFONT font =
        CreateFontW(-MulDiv(layout.font.pixels, static_cast<int>(window.dpi), 96), 0, 0, 0,
                    layout.font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, FaceOf(layout.font).c_str());
    // A hidden window is drawn anew when it is shown.
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), IsWindowVisible(window.hwnd));
    if (window.fonts[index] != nullptr) DeleteObject(window.fonts[index]);
    window.fonts[index] = font;
}

void LayOut(FormWindow& window)
{
    for (const ControlLayout& layout : ControlTable) {
        const Place place = PlaceOf(layout, window.dpi);
        SetWindowPos(window.Handle(layout.id), nullptr, place.left, place.top, place.width, place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetFont(window, layout);
    }
    FitDropDowns(window);
}

SIZE FrameSize(UINT dpi)
{
    RECT frame{0, 0, ToPixels(ClientWidth, dpi), ToPixels(ClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, WindowStyle, FALSE, WindowExStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// Wine draws a frame of another size than AdjustWindowRectExForDpi gives at
// other DPIs than 96: the size is corrected once by the client area measured.
void FitClientArea(const FormWindow& window, const RECT* at)
{
    if (at != nullptr) {
        const SIZE size = FrameSize(window.dpi);
        SetWindowPos(window.hwnd, nullptr, at->left, at->top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT client, frame;
    GetClientRect(window.hwnd, &client);
    const SIZE missing{ToPixels(ClientWidth, window.dpi) - client.right,
                       ToPixels(ClientHeight, window.dpi) - client.bottom};
    if (missing.cx == 0 && missing.cy == 0) return;
    GetWindowRect(window.hwnd, &frame);
    SetWindowPos(window.hwnd, nullptr, 0, 0, frame.right - frame.left + missing.cx,
                 frame.bottom - frame.top + missing.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Windows tabs through the controls in their stacking order, and screen
// readers name a box or a list by the label stacked right before it: the
// controls are stacked by tab index, each caption moved right before the
// first control it names. Labels take no focus, so Tab still visits the
// controls by their tab index.
std::vector<Control> StackingOrder()
{
    std::vector<Control> order;
    const auto stacked = [&order](Control control) {
        return std::find(order.begin(), order.end(), control) != order.end();
    };
    const auto isCaption = [](Control control) {
        return std::any_of(std::begin(ScreenReaderNames), std::end(ScreenReaderNames),
                           [control](const ScreenReaderName& name) { return name.caption == control; });
    };
    for (const Control control : TabOrder) {
        for (const ScreenReaderName& name : ScreenReaderNames) {
            if (name.control == control && !stacked(name.caption)) order.push_back(name.caption);
        }
        if (!stacked(control) && !isCaption(control)) order.push_back(control);
    }
    return order;
}
