// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/web/markup.h"

#include <string_view>

#include "window/layout.h"
#include "window/screen_reader_names.h"
#include "window/tab_order.h"

namespace {

// The label that a box or list is read with, where clicking it belongs to
// that control: the caption above it, or the unit beside it.
constexpr struct {
    Control label, control;
} Captions[] = {
    {Control::Label2, Control::Combo1}, {Control::Label10, Control::Combo1}, {Control::Label3, Control::Text1},
    {Control::Label4, Control::Text2},  {Control::Label5, Control::Text3},   {Control::Label9, Control::Text3},
    {Control::Label6, Control::Text4},  {Control::Label8, Control::Text4},
};

// The one column of a narrow screen: the title and texts, each caption above
// its boxes in tab order from the camera format on, then the result and the
// buttons.
constexpr Control NarrowOrder[] = {
    Control::Label11, Control::Label1,   Control::Label7,   Control::Label2,   Control::Combo1,   Control::Label10,
    Control::Label3,  Control::Text1,    Control::Combo2,   Control::Combo3,   Control::Label4,   Control::Text2,
    Control::Combo4,  Control::Label5,   Control::Text3,    Control::Label9,   Control::Label6,   Control::Text4,
    Control::Label8,  Control::Command1, Control::Command2, Control::Command3, Control::Command4, Control::Command5,
};

std::string Escaped(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string Attribute(std::string_view name, std::string_view value)
{
    return " " + std::string(name) + "=\"" + Escaped(value) + "\"";
}

std::string SpokenAttributes(Control control)
{
    std::string attributes;
    for (const ScreenReaderName& name : ScreenReaderNames) {
        if (name.control == control) attributes += Attribute("aria-label", SpokenName(name));
    }
    for (const NumberBoxRange& range : NumberBoxRanges) {
        if (range.box == control) attributes += Attribute("title", RangeDescription(range));
    }
    return attributes;
}

std::string LabelMarkup(const ControlLayout& layout)
{
    const std::string id = Attribute("id", layout.name);
    const std::string caption = Escaped(layout.caption);
    if (layout.id == Control::Label11) {
        return "<h1" + id + Attribute("title", TitleToolTip) + ">" + caption + "</h1>";
    }
    for (const auto& c : Captions) {
        if (c.label == layout.id) {
            return "<label" + id + Attribute("for", LayoutOf(c.control).name) + ">" + caption + "</label>";
        }
    }
    return "<p" + id + ">" + caption + "</p>";
}

std::string ControlMarkup(const ControlLayout& layout)
{
    const std::string id = Attribute("id", layout.name);
    switch (layout.kind) {
    case Kind::Label: return LabelMarkup(layout);
    case Kind::Button: return "<button" + id + " type=\"button\">" + Escaped(layout.caption) + "</button>";
    case Kind::DropDown: return "<select" + id + SpokenAttributes(layout.id) + "></select>";
    case Kind::TextBox: break;
    }
    // The result box is shown greyed and never typed into; the number boxes
    // ask phones for a decimal keypad and for no corrections.
    if (layout.id == Control::Text4) {
        return "<input" + id + " type=\"text\" disabled" + SpokenAttributes(layout.id) + ">";
    }
    return "<input" + id +
           " type=\"text\" inputmode=\"decimal\" autocomplete=\"off\" autocapitalize=\"off\" "
           "autocorrect=\"off\" spellcheck=\"false\"" +
           SpokenAttributes(layout.id) + ">";
}

std::string Pixels(int twips)
{
    return std::to_string(twips / TwipsPerPixel) + "px";
}

// The layout's faces, each with the installed faces that stand in for it.
std::string FontFamily(std::string_view face)
{
    return face == "Arial" ? "var(--arial)" : "var(--ms-sans-serif)";
}

}  // namespace

std::string FormMarkup()
{
    std::string markup = "<main id=\"Form1\" inert>";
    for (const Control control : TabOrder) markup += ControlMarkup(LayoutOf(control));
    return markup + "</main>";
}

std::string PageMarkup()
{
    return "<p id=\"Ended\" hidden>O Orvanta foi encerrado. Recarregue a página para usá-lo de novo.</p>"
           "<dialog id=\"MsgBox\" role=\"alertdialog\" aria-labelledby=\"MsgBoxTitle\" "
           "aria-describedby=\"MsgBoxText\"><h2 id=\"MsgBoxTitle\"></h2><div class=\"error-icon\" "
           "aria-hidden=\"true\"></div><p id=\"MsgBoxText\"></p><button id=\"MsgBoxOK\" type=\"button\" "
           "autofocus>OK</button></dialog>"
           "<div id=\"PrintPage\"></div>";
}

std::string FormStyle()
{
    std::string style;
    int order = 0;
    for (const Control control : NarrowOrder) {
        style += "#Form1 #" + std::string(LayoutOf(control).name) + "{order:" + std::to_string(order++) + "}\n";
    }
    style += "@media (min-width:" + Pixels(ClientWidth) + "){\n#Form1{width:" + Pixels(ClientWidth) +
             ";height:" + Pixels(ClientHeight) + "}\n";
    for (const ControlLayout& layout : ControlTable) {
        // A caption one line high stays on its line: where the browser's face
        // is wider than the window's own, it runs on into the empty space
        // beside it rather than wrapping into a line its box cannot show.
        const bool oneLine = layout.kind == Kind::Label && layout.height / TwipsPerPixel < 2 * layout.font.pixels;
        style += "#Form1 #" + std::string(layout.name) + "{left:" + Pixels(layout.left) + ";top:" + Pixels(layout.top) +
                 ";width:" + Pixels(layout.width) + ";height:" + Pixels(layout.height) +
                 ";font:" + (layout.font.bold ? "700 " : "400 ") + std::to_string(layout.font.pixels) + "px " +
                 FontFamily(layout.font.face) + (oneLine ? ";white-space:nowrap;overflow:visible" : "") + "}\n";
    }
    return style + "}\n";
}
