// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window as it is created: its own properties and, for every control,
// its kind, caption, place and size in twips, font and tab index. Both
// toolkits build the window from this table.

// The window's controls, in creation order: the order in which the window
// creates and enumerates them.
enum class Control {
    Command5,
    Text3,
    Text4,
    Command4,
    Command3,
    Command2,
    Command1,
    Combo4,
    Text2,
    Combo3,
    Combo2,
    Text1,
    Combo1,
    Label11,
    Label10,
    Label9,
    Label8,
    Label7,
    Label6,
    Label5,
    Label2,
    Label4,
    Label3,
    Label1,
};
inline constexpr int ControlCount = 24;

enum class Kind { Label, TextBox, DropDown, Button };

// Font sizes are pixels at 96 dots per inch (8.25 pt = 11 px, 9.75 pt = 13,
// 12 pt = 16, 20.25 pt = 27); a toolkit scales them with the display.
struct FontStyle {
    const char* face;
    int pixels;
    bool bold;
};

inline constexpr FontStyle DefaultFont{"MS Sans Serif", 11, false};
inline constexpr FontStyle Regular13{"MS Sans Serif", 13, false};
inline constexpr FontStyle Bold13{"MS Sans Serif", 13, true};
inline constexpr FontStyle Regular16{"MS Sans Serif", 16, false};
inline constexpr FontStyle Bold16{"MS Sans Serif", 16, true};
inline constexpr FontStyle TitleFont{"Arial", 27, true};

struct ControlLayout {
    Control id;
    const char* name;
    Kind kind;
    const char* caption;
    int left, top, width, height;  // twips
    FontStyle font;
    int tabIndex;
};

inline constexpr const char* Instructions =
    "Para calcular o tamanho focal necessário para a lente, é necessário conhecer o formato da câmera a "
    "ser utilizada (1/4 \", 1/3 \", 1/2 \", 2/3 \" ou 1 \"), a dimensão máxima do objeto a ser "
    "visualizado (altura, largura ou diagonal), a distância da câmera/lente do objeto ou cena e a "
    "porcentagem da tela que a imagem deve ocupar. É preciso colocar a dimensão máxima do objeto, "
    "distância, tipo de câmera, porcentagem da tela. Quando todos os campos tiverem sido completados, "
    "clique no botão \" Calcular\", então a lente necessária será apresentada na caixa \" tamanho "
    "focal\".";

inline constexpr const char* Note =
    "Nota: É possível utilizar lentes de formato maiores que o formato da câmera (lente de 2/3\" em uma "
    "câmera de 1/3\", por exemplo), porém é impossivel utilizar uma lente de formato menor que o formato "
    "da câmera (lente de 1/3\" em uma câmera de 2/3\" não funcionará).";

// Every control of the window, in creation order.
inline constexpr ControlLayout ControlTable[ControlCount] = {
    {Control::Command5, "Command5", Kind::Button, "Ajuda", 5760, 7080, 1215, 495, DefaultFont, 23},
    {Control::Text3, "Text3", Kind::TextBox, "", 360, 6480, 1215, 285, DefaultFont, 8},
    {Control::Text4, "Text4", Kind::TextBox, "", 360, 8280, 1215, 285, DefaultFont, 0},
    {Control::Command4, "Command4", Kind::Button, "Fechar", 7560, 7080, 1215, 495, DefaultFont, 12},
    {Control::Command3, "Command3", Kind::Button, "Imprimir", 3960, 7080, 1215, 495, DefaultFont, 11},
    {Control::Command2, "Command2", Kind::Button, "Limpar", 2160, 7080, 1215, 495, DefaultFont, 10},
    {Control::Command1, "Command1", Kind::Button, "Calcular", 360, 7080, 1215, 495, DefaultFont, 9},
    {Control::Combo4, "Combo4", Kind::DropDown, "", 1800, 5640, 1695, 315, DefaultFont, 18},
    {Control::Text2, "Text2", Kind::TextBox, "", 360, 5640, 1215, 285, DefaultFont, 17},
    {Control::Combo3, "Combo3", Kind::DropDown, "", 3600, 4800, 1575, 315, DefaultFont, 16},
    {Control::Combo2, "Combo2", Kind::DropDown, "", 1800, 4800, 1695, 315, DefaultFont, 15},
    {Control::Text1, "Text1", Kind::TextBox, "", 360, 4800, 1215, 285, DefaultFont, 14},
    {Control::Combo1, "Combo1", Kind::DropDown, "", 360, 3960, 1455, 315, DefaultFont, 13},
    {Control::Label11, "Label11", Kind::Label, "Orvanta Versão 1.0 Beta", 3720, 240, 4935, 495, TitleFont, 22},
    {Control::Label10, "Label10", Kind::Label, "de Polegada", 1920, 3960, 1455, 375, Regular13, 21},
    {Control::Label9, "Label9", Kind::Label, "%", 1680, 6480, 255, 255, Regular16, 20},
    {Control::Label8, "Label8", Kind::Label, "mm", 1680, 8280, 375, 255, Regular16, 19},
    {Control::Label7, "Label7", Kind::Label, Note, 360, 2280, 11655, 735, Regular13, 7},
    {Control::Label6, "Label6", Kind::Label, "Tamanho da Lente a ser utilizada (Distância Focal)", 360, 7920, 5295, 255,
     Bold16, 6},
    {Control::Label5, "Label5", Kind::Label, "Porcentagem da Tela a ser Ocupada pela Imagem:", 360, 6120, 5535, 255,
     Bold13, 5},
    {Control::Label2, "Label2", Kind::Label, "Formato da Câmera (Tamanho do Sensor CCD):", 360, 3480, 5055, 255, Bold13,
     4},
    {Control::Label4, "Label4", Kind::Label, "Distância da Câmera/Lente:", 360, 5280, 3135, 255, Bold13, 3},
    {Control::Label3, "Label3", Kind::Label, "Dimensão Máxima do Alvo (Objeto ou Cena):", 360, 4440, 4815, 255, Bold13,
     2},
    {Control::Label1, "Label1", Kind::Label, Instructions, 360, 960, 11655, 1215, Regular13, 1},
};

inline constexpr const ControlLayout& LayoutOf(Control control)
{
    return ControlTable[static_cast<int>(control)];
}

inline constexpr const char* WindowTitle = "Cálculo de Lentes";
inline constexpr int ClientWidth = 12330;  // twips
inline constexpr int ClientHeight = 8925;
// The title's hover text.
inline constexpr const char* TitleToolTip = "Vintoral";

// At 96 dots per inch a pixel is 15 twips.
inline constexpr int TwipsPerPixel = 15;
