// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QIcon>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QWindow>

#include <algorithm>
#include <limits>
#include <string>

#include "calc/lens.h"
#include "calc/number_text.h"
#include "window/accessibility.h"
#include "window/icon16.xpm"
#include "window/icon32.xpm"
#include "window/toolkit.h"

namespace {

enum class Kind { Label, TextBox, DropDown, Button };

// Font sizes are in pixels (96 dots per inch: 8.25 pt = 11 px, 9.75 pt = 13,
// 12 pt = 16, 20.25 pt = 27) so that text and geometry agree on any display.
struct FontStyle {
    const char* face;
    int pixels;
    bool bold;
};

constexpr FontStyle DefaultFont{"MS Sans Serif", 11, false};
constexpr FontStyle Regular13{"MS Sans Serif", 13, false};
constexpr FontStyle Bold13{"MS Sans Serif", 13, true};
constexpr FontStyle Regular16{"MS Sans Serif", 16, false};
constexpr FontStyle Bold16{"MS Sans Serif", 16, true};
constexpr FontStyle TitleFont{"Arial", 27, true};

struct ControlLayout {
    const char* name;
    Kind kind;
    const char* caption;
    int left, top, width, height;  // twips
    FontStyle font;
    int tabIndex;
};

constexpr const char* Instructions =
    "Para calcular o tamanho focal necessário para a lente, é necessário conhecer o formato da câmera a "
    "ser utilizada (1/4 \", 1/3 \", 1/2 \", 2/3 \" ou 1 \"), a dimensão máxima do objeto a ser "
    "visualizado (altura, largura ou diagonal), a distância da câmera/lente do objeto ou cena e a "
    "porcentagem da tela que a imagem deve ocupar. É preciso colocar a dimensão máxima do objeto, "
    "distância, tipo de câmera, porcentagem da tela. Quando todos os campos tiverem sido completados, "
    "clique no botão \" Calcular\", então a lente necessária será apresentada na caixa \" tamanho "
    "focal\".";

constexpr const char* Note =
    "Nota: É possível utilizar lentes de formato maiores que o formato da câmera (lente de 2/3\" em uma "
    "câmera de 1/3\", por exemplo), porém é impossivel utilizar uma lente de formato menor que o formato "
    "da câmera (lente de 1/3\" em uma câmera de 2/3\" não funcionará).";

// Every control of the window, in creation order (the order in which the
// window enumerates them).
constexpr ControlLayout ControlTable[] = {
    {"Command5", Kind::Button, "Ajuda", 5760, 7080, 1215, 495, DefaultFont, 23},
    {"Text3", Kind::TextBox, "", 360, 6480, 1215, 285, DefaultFont, 8},
    {"Text4", Kind::TextBox, "", 360, 8280, 1215, 285, DefaultFont, 0},
    {"Command4", Kind::Button, "Fechar", 7560, 7080, 1215, 495, DefaultFont, 12},
    {"Command3", Kind::Button, "Imprimir", 3960, 7080, 1215, 495, DefaultFont, 11},
    {"Command2", Kind::Button, "Limpar", 2160, 7080, 1215, 495, DefaultFont, 10},
    {"Command1", Kind::Button, "Calcular", 360, 7080, 1215, 495, DefaultFont, 9},
    {"Combo4", Kind::DropDown, "", 1800, 5640, 1695, 315, DefaultFont, 18},
    {"Text2", Kind::TextBox, "", 360, 5640, 1215, 285, DefaultFont, 17},
    {"Combo3", Kind::DropDown, "", 3600, 4800, 1575, 315, DefaultFont, 16},
    {"Combo2", Kind::DropDown, "", 1800, 4800, 1695, 315, DefaultFont, 15},
    {"Text1", Kind::TextBox, "", 360, 4800, 1215, 285, DefaultFont, 14},
    {"Combo1", Kind::DropDown, "", 360, 3960, 1455, 315, DefaultFont, 13},
    {"Label11", Kind::Label, "Orvanta Versão 1.0 Beta", 3720, 240, 4935, 495, TitleFont, 22},
    {"Label10", Kind::Label, "de Polegada", 1920, 3960, 1455, 375, Regular13, 21},
    {"Label9", Kind::Label, "%", 1680, 6480, 255, 255, Regular16, 20},
    {"Label8", Kind::Label, "mm", 1680, 8280, 375, 255, Regular16, 19},
    {"Label7", Kind::Label, Note, 360, 2280, 11655, 735, Regular13, 7},
    {"Label6", Kind::Label, "Tamanho da Lente a ser utilizada (Distância Focal)", 360, 7920, 5295, 255, Bold16, 6},
    {"Label5", Kind::Label, "Porcentagem da Tela a ser Ocupada pela Imagem:", 360, 6120, 5535, 255, Bold13, 5},
    {"Label2", Kind::Label, "Formato da Câmera (Tamanho do Sensor CCD):", 360, 3480, 5055, 255, Bold13, 4},
    {"Label4", Kind::Label, "Distância da Câmera/Lente:", 360, 5280, 3135, 255, Bold13, 3},
    {"Label3", Kind::Label, "Dimensão Máxima do Alvo (Objeto ou Cena):", 360, 4440, 4815, 255, Bold13, 2},
    {"Label1", Kind::Label, Instructions, 360, 960, 11655, 1215, Regular13, 1},
};

constexpr int ClientWidth = 12330;  // twips
constexpr int ClientHeight = 8925;

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

// MS Sans Serif runs narrower than Liberation Sans, which stands for it:
// drawn at nine tenths of its width the captions fit their boxes as laid out.
constexpr int MsSansSerifStretch = 90;

QFont MakeFont(const FontStyle& style)
{
    QFont font(QString::fromUtf8(style.face));
    if (font.family() == QLatin1String("MS Sans Serif")) {
        font.setStretch(MsSansSerifStretch);
    }
    font.setPixelSize(style.pixels);
    font.setWeight(style.bold ? QFont::Bold : QFont::Normal);
    return font;
}

QWidget* CreateControl(const ControlLayout& layout, QWidget* parent)
{
    const QString caption = QString::fromUtf8(layout.caption);
    QWidget* control = nullptr;
    switch (layout.kind) {
    case Kind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setAutoFillBackground(true);
        control = label;
        break;
    }
    case Kind::TextBox: {
        auto* box = new QLineEdit(parent);
        box->setMaxLength(std::numeric_limits<int>::max());
        control = box;
        break;
    }
    case Kind::DropDown: control = new QComboBox(parent); break;
    case Kind::Button: {
        // Not a default button: Enter presses only the button that has the
        // focus, as Space does.
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(true);
        button->setDefault(false);
        control = button;
        break;
    }
    }
    control->setObjectName(QString::fromUtf8(layout.name));
    control->setGeometry(layout.left / TwipsPerPixel, layout.top / TwipsPerPixel, layout.width / TwipsPerPixel,
                         layout.height / TwipsPerPixel);
    control->setFont(MakeFont(layout.font));
    return control;
}

std::string DecimalSeparator()
{
    return QLocale::system().decimalPoint().toStdString();
}

}  // namespace

Form1::Form1(PrintAction printReport, MessageAction showMessage)
    : printReport_(std::move(printReport)), showMessage_(std::move(showMessage))
{
    // Neither face is installed on Linux; Liberation Sans has Arial's metrics
    // and is close to MS Sans Serif's.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));

    // Before any list exists: Qt may describe a control to screen readers
    // as soon as it is created.
    DescribeForScreenReaders();

    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Cálculo de Lentes"));
    setFixedSize(ClientWidth / TwipsPerPixel, ClientHeight / TwipsPerPixel);
    setFont(MakeFont(DefaultFont));
    QIcon icon;
    icon.addPixmap(QPixmap(orvanta_icon_32));
    icon.addPixmap(QPixmap(orvanta_icon_16));
    setWindowIcon(icon);

    CreateControls();
    Form_Load();
}

void Form1::CreateControls()
{
    std::vector<std::pair<int, QWidget*>> byTabIndex;
    for (const ControlLayout& layout : ControlTable) {
        byTabIndex.emplace_back(layout.tabIndex, CreateControl(layout, this));
    }
    const auto get = [this]<class Control>(Control*& control, const char* name) {
        control = findChild<Control*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    };
    get(Label1, "Label1");
    get(Label2, "Label2");
    get(Label3, "Label3");
    get(Label4, "Label4");
    get(Label5, "Label5");
    get(Label6, "Label6");
    get(Label7, "Label7");
    get(Label8, "Label8");
    get(Label9, "Label9");
    get(Label10, "Label10");
    get(Label11, "Label11");
    get(Text1, "Text1");
    get(Text2, "Text2");
    get(Text3, "Text3");
    get(Text4, "Text4");
    get(Combo1, "Combo1");
    get(Combo2, "Combo2");
    get(Combo3, "Combo3");
    get(Combo4, "Combo4");
    get(Command1, "Command1");
    get(Command2, "Command2");
    get(Command3, "Command3");
    get(Command4, "Command4");
    get(Command5, "Command5");

    Label11->setToolTip(QStringLiteral("Vintoral"));
    NameForScreenReaders();
    SetEnabled(Command2, false);
    SetEnabled(Command3, false);
    SetEnabled(Text4, false);

    // Labels never take the focus and stay out of the chain.
    std::sort(byTabIndex.begin(), byTabIndex.end());
    QWidget* previous = nullptr;
    for (const auto& [tabIndex, control] : byTabIndex) {
        if (control->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }

    // Input methods keep out of the number boxes where they let themselves
    // be kept out; the compose context of dead keys does not, and what it
    // commits goes through the key filter in NumberBox_Event.
    for (QLineEdit* box : {Text1, Text2, Text3}) {
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    // Every event of the application passes Window_Event and NumberBox_Event
    // first: the key filter of the number boxes, held keys on the buttons of
    // this window and of its message boxes, the frame of this window.
    qApp->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    // Command5 ("Ajuda") has no action.
}

// Screen readers announce each box and list by the caption beside it; the
// unit lists and the result say what they belong to, the number boxes their
// accepted range.
void Form1::NameForScreenReaders()
{
    const struct {
        QWidget* control;
        QLabel* caption;
        const char* suffix;
    } names[] = {
        {Combo1, Label2, " de Polegada"},
        {Text1, Label3, ""},
        {Combo2, Label3, " unidade"},
        {Combo3, Label3, " altura, largura ou diagonal"},
        {Text2, Label4, ""},
        {Combo4, Label4, " unidade"},
        {Text3, Label5, " %"},
        {Text4, Label6, " mm"},
    };
    for (const auto& name : names) {
        name.control->setAccessibleName(name.caption->text() + QString::fromUtf8(name.suffix));
    }
    const struct {
        QLineEdit* box;
        float lowest, highest;
    } ranges[] = {
        {Text1, TargetSizeMin, TargetSizeMax},
        {Text2, DistanceMin, DistanceMax},
        {Text3, ScreenPercentMin, ScreenPercentMax},
    };
    for (const auto& range : ranges) {
        range.box->setAccessibleDescription(
            QStringLiteral("Número entre %1 e %2").arg(QString::number(range.lowest), QString::number(range.highest)));
    }
}

void Form1::Form_Load()
{
    CentreWindow();

    // The lists offer their table's texts, in the table's order.
    for (const FactorRow& row : SensorFormatTable) AddItem(Combo1, row.text);
    for (const FactorRow& row : LengthUnitTable) AddItem(Combo2, row.text);
    for (const FactorRow& row : DimensionKindTable) AddItem(Combo3, row.text);
    for (const FactorRow& row : LengthUnitTable) AddItem(Combo4, row.text);

    SetDefaults();
    SetFocus(Text3);
}

// Centres the window's outer size on the screen. A window larger than the
// screen keeps its top-left corner on it, so that its title bar can be
// grabbed. Until the window is first mapped its outer size is its client
// area; Window_Event centres it again once the window manager's frame is
// known.
void Form1::CentreWindow()
{
    const float left = static_cast<float>((ScreenWidth(this) - WindowWidth(this)) * 0.5);
    const float top = static_cast<float>((ScreenHeight(this) - WindowHeight(this)) * 0.5);
    SetWindowPosition(this, std::max(left, 0.0f), std::max(top, 0.0f));
}

void Form1::SetDefaults()
{
    state_.strCameraFormat = DefaultCameraFormat;
    SetText(Combo1, state_.strCameraFormat);
    state_.strTargetUnit = DefaultTargetUnit;
    SetText(Combo2, state_.strTargetUnit);
    state_.strDimensionKind = DefaultDimensionKind;
    SetText(Combo3, state_.strDimensionKind);
    state_.strDistanceUnit = DefaultDistanceUnit;
    SetText(Combo4, state_.strDistanceUnit);
    state_.sngScreenPercent = DefaultScreenPercent;
    SetText(Text3, NumberToText(state_.sngScreenPercent, DecimalSeparator()));
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched->isWindowType()) {
        return Window_Event(watched, event);
    }
    if (watched == Text1 || watched == Text2 || watched == Text3) {
        return NumberBox_Event(static_cast<QLineEdit*>(watched), event);
    }
    return false;
}

bool Form1::Window_Event(QObject* window, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Expose:
        // Without a window manager the frame is the client area and the
        // window stays where it is.
        if (window == windowHandle() && windowHandle()->isExposed() && !centredInFrame_) {
            centredInFrame_ = true;
            CentreWindow();
        }
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // One press, one click: a held Enter or Space does not press the
        // focused button again.
        const auto& key = *static_cast<QKeyEvent*>(event);
        return IsKeyRepeat(keyHistory_, key) && key.type() == QEvent::KeyPress &&
               qobject_cast<QAbstractButton*>(QApplication::focusWidget()) != nullptr &&
               (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space ||
                key.key() == Qt::Key_Select);
    }
    default: return false;
    }
}

bool Form1::NumberBox_Event(QLineEdit* box, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const std::vector<int> codes = KeyPressCodes(*static_cast<QKeyEvent*>(event));
        if (codes.empty()) {
            return false;
        }
        if (codes.size() == 1) {
            return KeyPress(box, codes.front()) == 0;  // 0 discards the key
        }
        NumberBox_TypeKeys(box, codes);
        return true;
    }
    case QEvent::InputMethod: {
        // Text composed from a dead key and a letter comes as an input
        // method's commit, past the key presses. The box takes the rest of
        // the event first, then the committed characters as keys.
        auto& input = *static_cast<QInputMethodEvent*>(event);
        if (input.commitString().isEmpty()) {
            return false;
        }
        const std::vector<int> codes = TakeCommittedCodes(input);
        QCoreApplication::sendEvent(box, &input);
        NumberBox_TypeKeys(box, codes);
        return true;
    }
    default: return false;
    }
}

// Several characters typed at once: each is a key of its own, and the box
// gets those let through.
void Form1::NumberBox_TypeKeys(QLineEdit* box, const std::vector<int>& codes)
{
    for (const int code : codes) {
        const int result = KeyPress(box, code);
        if (result != 0 && result != EnterCode) {
            TypeInto(box, result);
        }
    }
}

// The key-press handler of the number box.
int Form1::KeyPress(const QLineEdit* box, int code)
{
    return box == Text1 ? Text1_KeyPress(code) : box == Text2 ? Text2_KeyPress(code) : Text3_KeyPress(code);
}

int Form1::Text1_KeyPress(int code)
{
    return NumberBox_KeyPress(code, Combo2);
}

int Form1::Text2_KeyPress(int code)
{
    return NumberBox_KeyPress(code, Combo4);
}

int Form1::Text3_KeyPress(int code)
{
    return NumberBox_KeyPress(code, Combo4);
}

int Form1::NumberBox_KeyPress(int code, QWidget* nextOnEnter)
{
    if (IsNumberKey(code)) {
        return code;
    }
    if (code == EnterCode) {
        SetFocus(nextOnEnter);
        return code;
    }
    return 0;
}

void Form1::ShowError(const char* message)
{
    showMessage_(this, message, ErrorTitle);
}

bool Form1::RefuseOutOfRange(QLineEdit* box, float value, float lowest, float highest, const char* message)
{
    if (InRange(value, lowest, highest)) {
        return false;
    }
    ShowError(message);
    SetText(box, "");
    SetFocus(box);
    return true;
}

void Form1::Command1_Click()
{
    state_.sngTargetSize = static_cast<float>(ParseNumber(GetText(Text1)));
    if (RefuseOutOfRange(Text1, state_.sngTargetSize, TargetSizeMin, TargetSizeMax, DimensionMessage)) {
        return;
    }
    state_.sngDistance = static_cast<float>(ParseNumber(GetText(Text2)));
    if (RefuseOutOfRange(Text2, state_.sngDistance, DistanceMin, DistanceMax, DimensionMessage)) {
        return;
    }
    state_.sngScreenPercent = static_cast<float>(ParseNumber(GetText(Text3)));
    if (RefuseOutOfRange(Text3, state_.sngScreenPercent, ScreenPercentMin, ScreenPercentMax, PercentMessage)) {
        return;
    }

    state_.strCameraFormat = GetText(Combo1);
    state_.strTargetUnit = GetText(Combo2);
    state_.strDimensionKind = GetText(Combo3);
    state_.strDistanceUnit = GetText(Combo4);
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
    SetText(Text4, NumberToText(state_.sngFocalLengthShown, DecimalSeparator()));
    SetEnabled(Command3, true);
    SetEnabled(Command2, true);
}

void Form1::Command2_Click()
{
    // A click queued while a clear runs would start a whole clear inside it,
    // as deep as clicks are queued; the running clear already ends in the
    // state another would give.
    if (clearing_) {
        return;
    }
    ClearAllControls(this);
}

void Form1::ClearAllControls(QWidget* frmForm)
{
    clearing_ = true;
    for (QWidget* control : Controls(frmForm)) {
        // Labels and buttons have neither property and a pick list refuses
        // the empty text: those failures are expected and ignored.
        SetProperty(control, "Text", QString());
        SetProperty(control, "ListIndex", -1);
        DoEvents();
    }
    SetDefaults();
    // The focus goes where it is at start-up before the button that has it
    // is disabled, rather than on down the chain to "Fechar".
    SetFocus(Text3);
    SetEnabled(Command3, false);
    SetEnabled(Command2, false);
    clearing_ = false;

    if (unloadPending_) {
        unloadPending_ = false;
        Unload(this);
    }
}

void Form1::Command3_Click()
{
    try {
        printReport_(state_);
    } catch (const std::exception& error) {
        ShowError(error.what());
    }
}

void Form1::Command4_Click()
{
    Unload(this);
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (clearing_) {
        unloadPending_ = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
