// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include <algorithm>

#include "calc/lens.h"
#include "calc/number_text.h"

namespace {

constexpr const char* ErrorTitle = "Mensagem de Erro!";
constexpr const char* DimensionMessage = "Digitação Inválida. A dimensão do objeto deve estar entre 1 e 10000.";
constexpr const char* PercentMessage =
    "Digitação Inválida, a porcentagem de visualização em tela deve estar entre 1% e 100%.";
// The two refusals below cannot come from what a user types: a pick list
// is only empty while the window is being cleared, and accepted entries keep
// the arithmetic in range. They still refuse rather than show a stale result.
constexpr const char* ChoiceMessage =
    "Não foi possível calcular: escolha o formato da câmera, as unidades e o tipo de dimensão.";
constexpr const char* ArithmeticMessage = "Não foi possível calcular a distância focal com os valores informados.";

constexpr const char* DefaultCameraFormat = "1/3";
constexpr const char* DefaultTargetUnit = "metros";
constexpr const char* DefaultDimensionKind = "Largura";
constexpr const char* DefaultDistanceUnit = "metros";
constexpr float DefaultScreenPercent = 100;

// The number as the user's regional settings write it. A whole number has no
// separator to ask the toolkit for: a browser makes its language's number
// format for that, which takes a while the first time.
std::string ShownNumber(float value)
{
    const std::string text = NumberToText(value, ".");
    return text.find('.') == std::string::npos ? text : NumberToText(value, DecimalSeparator());
}

}  // namespace

Form1::Form1(PrintAction printReport, MessageAction showMessage)
    : printReport_(std::move(printReport)), showMessage_(std::move(showMessage))
{
    window_ = CreateFormWindow({
        [this](Control box, int code) { return KeyPress(box, code); },
        [this](Control button) { Click(button); },
        [this] { return Form_QueryUnload(); },
        [this] { CentreWindow(); },
    });
    SetEnabled(*window_, Control::Command2, false);
    SetEnabled(*window_, Control::Command3, false);
    SetEnabled(*window_, Control::Text4, false);
    Form_Load();
}

void Form1::Form_Load()
{
    CentreWindow();

    // The lists offer their table's texts, in the table's order.
    for (const FactorRow& row : SensorFormatTable) AddItem(*window_, Control::Combo1, row.text);
    for (const FactorRow& row : LengthUnitTable) AddItem(*window_, Control::Combo2, row.text);
    for (const FactorRow& row : DimensionKindTable) AddItem(*window_, Control::Combo3, row.text);
    for (const FactorRow& row : LengthUnitTable) AddItem(*window_, Control::Combo4, row.text);

    SetDefaults();
    FocusControl(*window_, Control::Text3);
}

// Centres the window's outer size on the screen. A window larger than the
// screen keeps its top-left corner on it, so that its title bar can be
// grabbed. The toolkit calls this again once the frame is known.
void Form1::CentreWindow()
{
    FormWindow& window = *window_;
    const float left = static_cast<float>((ScreenWidth(window) - WindowWidth(window)) * 0.5);
    const float top = static_cast<float>((ScreenHeight(window) - WindowHeight(window)) * 0.5);
    SetWindowPosition(window, std::max(left, 0.0f), std::max(top, 0.0f));
}

void Form1::SetDefaults()
{
    FormWindow& window = *window_;
    state_.strCameraFormat = DefaultCameraFormat;
    SetText(window, Control::Combo1, state_.strCameraFormat);
    state_.strTargetUnit = DefaultTargetUnit;
    SetText(window, Control::Combo2, state_.strTargetUnit);
    state_.strDimensionKind = DefaultDimensionKind;
    SetText(window, Control::Combo3, state_.strDimensionKind);
    state_.strDistanceUnit = DefaultDistanceUnit;
    SetText(window, Control::Combo4, state_.strDistanceUnit);
    state_.sngScreenPercent = DefaultScreenPercent;
    SetText(window, Control::Text3, ShownNumber(state_.sngScreenPercent));
}

// The key-press event of a number box.
int Form1::KeyPress(Control box, int code)
{
    switch (box) {
    case Control::Text1: return Text1_KeyPress(code);
    case Control::Text2: return Text2_KeyPress(code);
    case Control::Text3: return Text3_KeyPress(code);
    default: return code;
    }
}

int Form1::Text1_KeyPress(int code)
{
    return NumberBox_KeyPress(code, Control::Combo2);
}

int Form1::Text2_KeyPress(int code)
{
    return NumberBox_KeyPress(code, Control::Combo4);
}

int Form1::Text3_KeyPress(int code)
{
    return NumberBox_KeyPress(code, Control::Combo4);
}

int Form1::NumberBox_KeyPress(int code, Control nextOnEnter)
{
    if (IsNumberKey(code)) {
        return code;
    }
    if (code == EnterCode) {
        FocusControl(*window_, nextOnEnter);
        return code;
    }
    return 0;
}

// The click event of a button. Command5 ("Ajuda") has no action.
void Form1::Click(Control button)
{
    switch (button) {
    case Control::Command1: Command1_Click(); break;
    case Control::Command2: Command2_Click(); break;
    case Control::Command3: Command3_Click(); break;
    case Control::Command4: Command4_Click(); break;
    default: break;
    }
}

void Form1::ShowError(std::string_view message)
{
    showMessage_(*window_, message, ErrorTitle);
}

bool Form1::RefuseOutOfRange(Control box, float value, float lowest, float highest, const char* message)
{
    if (InRange(value, lowest, highest)) {
        return false;
    }
    ShowError(message);
    SetText(*window_, box, "");
    FocusControl(*window_, box);
    return true;
}

void Form1::Command1_Click()
{
    FormWindow& window = *window_;
    state_.sngTargetSize = static_cast<float>(ParseNumber(GetText(window, Control::Text1)));
    if (RefuseOutOfRange(Control::Text1, state_.sngTargetSize, TargetSizeMin, TargetSizeMax, DimensionMessage)) {
        return;
    }
    state_.sngDistance = static_cast<float>(ParseNumber(GetText(window, Control::Text2)));
    if (RefuseOutOfRange(Control::Text2, state_.sngDistance, DistanceMin, DistanceMax, DimensionMessage)) {
        return;
    }
    state_.sngScreenPercent = static_cast<float>(ParseNumber(GetText(window, Control::Text3)));
    if (RefuseOutOfRange(Control::Text3, state_.sngScreenPercent, ScreenPercentMin, ScreenPercentMax, PercentMessage)) {
        return;
    }

    state_.strCameraFormat = GetText(window, Control::Combo1);
    state_.strTargetUnit = GetText(window, Control::Combo2);
    state_.strDimensionKind = GetText(window, Control::Combo3);
    state_.strDistanceUnit = GetText(window, Control::Combo4);
    if (!LookUpFactors(state_)) {
        ShowError(ChoiceMessage);
        return;
    }

    try {
        ComputeFocalLength(state_);
    } catch (const FloatingPointError&) {
        ShowError(ArithmeticMessage);
        return;
    }
    calculated_ = state_;
    SetText(window, Control::Text4, ShownNumber(state_.sngFocalLengthShown));
    SetEnabled(window, Control::Command3, true);
    SetEnabled(window, Control::Command2, true);
}

void Form1::Command2_Click()
{
    // A click queued while a clear runs would start a whole clear inside it,
    // as deep as clicks are queued; the running clear already ends in the
    // state another would give.
    if (clearing_ || printing_) {
        return;
    }
    ClearAllControls(*window_);
}

void Form1::ClearAllControls(FormWindow& frmForm)
{
    clearing_ = true;
    for (const Control control : Controls(frmForm)) {
        // Labels and buttons have neither property and a pick list refuses
        // the empty text: those failures are expected and ignored.
        SetProperty(frmForm, control, "Text", std::string());
        SetProperty(frmForm, control, "ListIndex", -1);
        DoEvents();
    }
    SetDefaults();
    // The focus goes where it is at start-up before the button that has it
    // is disabled, rather than on down the chain to "Fechar".
    FocusControl(*window_, Control::Text3);
    SetEnabled(*window_, Control::Command3, false);
    SetEnabled(*window_, Control::Command2, false);
    clearing_ = false;
    UnloadIfPending();
}

// "Imprimir" is enabled only after a successful "Calcular", whose record
// it prints.
void Form1::Command3_Click()
{
    if (printing_) {
        return;
    }
    printing_ = true;
    // A copy: a "Calcular" inside the print changes the record, not the page.
    const CalcState record = calculated_;
    try {
        printReport_(record);
    } catch (const std::exception& error) {
        ShowError(error.what());
    }
    printing_ = false;
    UnloadIfPending();
}

void Form1::Command4_Click()
{
    Unload(*window_);
}

// The close box and "Fechar" alike; a clear or a print that is running
// finishes first.
bool Form1::Form_QueryUnload()
{
    if (clearing_ || printing_) {
        unloadPending_ = true;
        return false;
    }
    return true;
}

void Form1::UnloadIfPending()
{
    if (unloadPending_) {
        unloadPending_ = false;
        Unload(*window_);
    }
}
