// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a screen reader must hear of each box and list: its name and, for a
// number box, the numbers it takes. Written out here rather than read from
// the window's tables, so that a wrong one there fails every check that
// reads this: on Linux (screen_reader_names.cpp, whose lines the browser's
// check reads too) and on Windows (test_win32_window.cpp).

#include "window/layout.h"

struct Heard {
    Control control;
    const char* name;
    const char* description;
};

inline constexpr Heard BoxesAndLists[] = {
    {Control::Combo1, "Formato da Câmera (Tamanho do Sensor CCD): de Polegada", ""},
    {Control::Text1, "Dimensão Máxima do Alvo (Objeto ou Cena):", "Número entre 1 e 10000"},
    {Control::Combo2, "Dimensão Máxima do Alvo (Objeto ou Cena): unidade", ""},
    {Control::Combo3, "Dimensão Máxima do Alvo (Objeto ou Cena): altura, largura ou diagonal", ""},
    {Control::Text2, "Distância da Câmera/Lente:", "Número entre 1 e 10000"},
    {Control::Combo4, "Distância da Câmera/Lente: unidade", ""},
    {Control::Text3, "Porcentagem da Tela a ser Ocupada pela Imagem: %", "Número entre 1 e 100"},
    {Control::Text4, "Tamanho da Lente a ser utilizada (Distância Focal) mm", ""},
};
