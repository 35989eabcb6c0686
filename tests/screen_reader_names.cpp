// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what a screen reader must hear for each control of the window, one
// tab-separated line each: control, kind, name, description. The labels and
// buttons are heard by their captions in the layout table; the boxes' and
// lists' names and the number boxes' ranges are written out here, so that a
// wrong one in the window's tables fails the check.
#include <cstdio>
#include <string>

#include "window/layout.h"

namespace {

struct Heard {
    Control control;
    const char* name;
    const char* description;
};

constexpr Heard BoxesAndLists[] = {
    {Control::Combo1, "Formato da Câmera (Tamanho do Sensor CCD): de Polegada", ""},
    {Control::Text1, "Dimensão Máxima do Alvo (Objeto ou Cena):", "Número entre 1 e 10000"},
    {Control::Combo2, "Dimensão Máxima do Alvo (Objeto ou Cena): unidade", ""},
    {Control::Combo3, "Dimensão Máxima do Alvo (Objeto ou Cena): altura, largura ou diagonal", ""},
    {Control::Text2, "Distância da Câmera/Lente:", "Número entre 1 e 10000"},
    {Control::Combo4, "Distância da Câmera/Lente: unidade", ""},
    {Control::Text3, "Porcentagem da Tela a ser Ocupada pela Imagem: %", "Número entre 1 e 100"},
    {Control::Text4, "Tamanho da Lente a ser utilizada (Distância Focal) mm", ""},
};

}  // namespace

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
