// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The start-up floors' window: the same 24 controls at the same places, in
// pixels at 96 dots per inch, as Orvanta's window. The two paragraphs are
// shortened, which only makes a floor cheaper.

struct FloorControl {
    char kind;  // L label, T text box, C drop-down list, B button
    const char* caption;
    int left, top, width, height;  // pixels
};

inline constexpr int FloorWidth = 822;
inline constexpr int FloorHeight = 595;

inline constexpr FloorControl FloorControls[] = {
    {'B', "Ajuda", 384, 472, 81, 33},
    {'T', "", 24, 432, 81, 19},
    {'T', "", 24, 552, 81, 19},
    {'B', "Fechar", 504, 472, 81, 33},
    {'B', "Imprimir", 264, 472, 81, 33},
    {'B', "Limpar", 144, 472, 81, 33},
    {'B', "Calcular", 24, 472, 81, 33},
    {'C', "", 120, 376, 113, 21},
    {'T', "", 24, 376, 81, 19},
    {'C', "", 240, 320, 105, 21},
    {'C', "", 120, 320, 113, 21},
    {'T', "", 24, 320, 81, 19},
    {'C', "", 24, 264, 97, 21},
    {'L', "Orvanta Versão 1.0 Beta", 248, 16, 329, 33},
    {'L', "de Polegada", 128, 264, 97, 25},
    {'L', "%", 112, 432, 17, 17},
    {'L', "mm", 112, 552, 25, 17},
    {'L', "Nota: É possível utilizar lentes de formato maiores que o formato da câmera.", 24, 152, 777, 49},
    {'L', "Tamanho da Lente a ser utilizada (Distância Focal)", 24, 528, 353, 17},
    {'L', "Porcentagem da Tela a ser Ocupada pela Imagem:", 24, 408, 369, 17},
    {'L', "Formato da Câmera (Tamanho do Sensor CCD):", 24, 232, 337, 17},
    {'L', "Distância da Câmera/Lente:", 24, 352, 209, 17},
    {'L', "Dimensão Máxima do Alvo (Objeto ou Cena):", 24, 296, 321, 17},
    {'L', "Para calcular o tamanho focal necessário para a lente, é necessário conhecer o formato da câmera.", 24, 64,
     777, 81},
};
