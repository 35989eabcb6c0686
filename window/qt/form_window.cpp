// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/qt/form_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QIcon>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "calc/number_text.h"
#include "window/qt/accessibility.h"
#include "window/qt/icon16.xpm"
#include "window/qt/icon32.xpm"
#include "window/qt/keys.h"
#include "window/qt/title_bar.h"
#include "window/screen_reader_names.h"
#include "window/tab_order.h"

namespace {

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int ToPixels(float twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

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

// top: where the client area begins, below the window's own title bar.
QWidget* CreateControl(const ControlLayout& layout, QWidget* parent, int top)
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
    control->setGeometry(layout.left / TwipsPerPixel, top + layout.top / TwipsPerPixel, layout.width / TwipsPerPixel,
                         layout.height / TwipsPerPixel);
    control->setFont(MakeFont(layout.font));
    return control;
}

}  // namespace

FormWindow::FormWindow(FormEvents formEvents) : events(std::move(formEvents))
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
    setWindowTitle(QString::fromUtf8(WindowTitle));
    setFixedSize(ClientWidth / TwipsPerPixel, ClientHeight / TwipsPerPixel);
    setFont(MakeFont(DefaultFont));
    QIcon icon;
    icon.addPixmap(QPixmap(orvanta_icon_32));
    icon.addPixmap(QPixmap(orvanta_icon_16));
    setWindowIcon(icon);

    // The window's own title bar goes above the client area, which keeps
    // its size and its controls' places.
    const int top = DrawsOwnTitleBar() ? (new TitleBar(this))->height() : 0;
    setFixedSize(width(), height() + top);
    CreateControls(top);
}

void FormWindow::CreateControls(int top)
{
    for (const ControlLayout& layout : ControlTable) {
        controls[static_cast<int>(layout.id)] = CreateControl(layout, this, top);
    }
    const auto get = [this]<class ControlType>(ControlType*& widget, Control id) {
        widget = static_cast<ControlType*>(Widget(id));
    };
    get(Label1, Control::Label1);
    get(Label2, Control::Label2);
    get(Label3, Control::Label3);
    get(Label4, Control::Label4);
    get(Label5, Control::Label5);
    get(Label6, Control::Label6);
    get(Label7, Control::Label7);
    get(Label8, Control::Label8);
    get(Label9, Control::Label9);
    get(Label10, Control::Label10);
    get(Label11, Control::Label11);
    get(Text1, Control::Text1);
    get(Text2, Control::Text2);
    get(Text3, Control::Text3);
    get(Text4, Control::Text4);
    get(Combo1, Control::Combo1);
    get(Combo2, Control::Combo2);
    get(Combo3, Control::Combo3);
    get(Combo4, Control::Combo4);
    get(Command1, Control::Command1);
    get(Command2, Control::Command2);
    get(Command3, Control::Command3);
    get(Command4, Control::Command4);
    get(Command5, Control::Command5);

    Label11->setToolTip(QString::fromUtf8(TitleToolTip));
    NameForScreenReaders();

    // Labels never take the focus and stay out of the chain.
    QWidget* previous = nullptr;
    for (const Control id : TabOrder) {
        QWidget* control = Widget(id);
        if (control->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }

    // The number boxes filter every key and take no input method; the
    // buttons drop a held key's repeats.
    for (QLineEdit* box : {Text1, Text2, Text3}) {
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        box->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText);
        box->installEventFilter(this);
    }
    for (QPushButton* button : {Command1, Command2, Command3, Command4, Command5}) {
        button->installEventFilter(this);
        const Control id = LayoutOfWidget(button)->id;
        connect(button, &QPushButton::clicked, this, [this, id] { events.click(id); });
    }
}

const ControlLayout* FormWindow::LayoutOfWidget(const QObject* widget) const
{
    const auto found = std::find(controls.begin(), controls.end(), widget);
    return found == controls.end() ? nullptr : &ControlTable[found - controls.begin()];
}

// Screen readers announce each box and list by the name window/
// screen_reader_names.h gives it, the number boxes their accepted range.
void FormWindow::NameForScreenReaders()
{
    for (const ScreenReaderName& name : ScreenReaderNames) {
        Widget(name.control)->setAccessibleName(QString::fromStdString(SpokenName(name)));
    }
    for (const NumberBoxRange& range : NumberBoxRanges) {
        Widget(range.box)->setAccessibleDescription(QString::fromStdString(RangeDescription(range)));
    }
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle()) {
        // Without a window manager the frame is the client area and the
        // window stays where it is.
        if (event->type() == QEvent::Expose && windowHandle()->isExposed() && !framed_) {
            framed_ = true;
            events.framed();
        }
        return false;
    }
    if (IsHeldButtonKey(event)) {
        return true;
    }
    const ControlLayout* layout = LayoutOfWidget(watched);
    if (layout != nullptr && layout->kind == Kind::TextBox) {
        return NumberBox_Event(static_cast<QLineEdit*>(watched), layout->id, event);
    }
    return false;
}

// A held key's later presses: Enter or Space held on a button presses it
// once, and held on through what that press did (a message box closed, the
// window cleared), its repeats do nothing else. The platform marks repeats.
// X11 sends them as a release and a press at one instant, which Qt marks
// when it finds the press queued behind the release; a window that falls
// behind the X queue (a loaded machine) gets some unmarked. A press at the
// instant of its key's release that came a while after the key's press is
// such a repeat; a tap sent by a program releases at once and is a press.
bool FormWindow::IsHeldButtonKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    const auto& key = *static_cast<const QKeyEvent*>(event);
    if (!PressesAButton(key)) {
        return false;
    }
    const unsigned long long at = key.timestamp();
    const bool sameKey = key.key() == lastKey_.key;
    if (event->type() == QEvent::KeyRelease) {
        if (sameKey) lastKey_.releasedAt = at;
        return key.isAutoRepeat();
    }
    constexpr unsigned long long RepeatInterval = 10;  // ms; X repeats 25 to 50 times a second
    const bool repeat = key.isAutoRepeat() || (sameKey && at == lastKey_.releasedAt &&
                                               lastKey_.releasedAt >= lastKey_.pressedAt + RepeatInterval);
    lastKey_ = {key.key(), at, sameKey ? lastKey_.releasedAt : 0};
    return repeat;
}

bool FormWindow::NumberBox_Event(QLineEdit* box, Control id, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto& key = *static_cast<QKeyEvent*>(event);
        const std::vector<int> codes = KeyPressCodes(key);
        if (codes.empty()) {
            return false;
        }
        // A key let through goes on to the box, which types its text, unless
        // the box is to type another character for it.
        if (codes.size() == 1 && !IsKeypadComma(key)) {
            return events.keyPress(id, codes.front()) == 0;  // 0 discards the key
        }
        NumberBox_TypeKeys(box, id, codes);
        return true;
    }
    case QEvent::InputMethod:
        // Text composed from a dead key and a letter comes as a commit past
        // the key presses, even with input methods off: its characters are
        // keys. Nothing an input method composes is shown in the box.
        NumberBox_TypeKeys(box, id, CommittedCodes(*static_cast<QInputMethodEvent*>(event)));
        return true;
    case QEvent::InputMethodQuery: {
        // Qt's text boxes tell input methods they take text whatever the
        // box's attribute says; a number box says it takes none.
        auto& query = *static_cast<QInputMethodQueryEvent*>(event);
        for (unsigned bit = 1; bit != 0; bit <<= 1) {
            const auto asked = static_cast<Qt::InputMethodQuery>(query.queries().toInt() & bit);
            if (asked != 0) {
                query.setValue(asked, asked == Qt::ImEnabled ? QVariant(false) : box->inputMethodQuery(asked));
            }
        }
        return true;
    }
    default: return false;
    }
}

// Several characters typed at once, or a key that stands for another
// character: each is a key of its own, and the box gets those let through.
void FormWindow::NumberBox_TypeKeys(QLineEdit* box, Control id, const std::vector<int>& codes)
{
    for (const int code : codes) {
        const int result = events.keyPress(id, code);
        if (result != 0 && result != EnterCode) {
            TypeInto(*box, result);
        }
    }
}

void FormWindow::showEvent(QShowEvent* event)
{
    if (!watchingFrame_) {
        watchingFrame_ = true;
        windowHandle()->installEventFilter(this);
    }
    QWidget::showEvent(event);
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    if (!events.queryUnload()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void FormWindowDeleter::operator()(FormWindow* window) const
{
    delete window;
}

FormWindowPointer CreateFormWindow(FormEvents events)
{
    return FormWindowPointer(new FormWindow(std::move(events)));
}

void ShowForm(FormWindow& window)
{
    window.show();
}

std::string GetText(const FormWindow& window, Control control)
{
    const QWidget* widget = window.Widget(control);
    if (const auto* box = qobject_cast<const QLineEdit*>(widget)) {
        return box->text().toStdString();
    }
    if (const auto* list = qobject_cast<const QComboBox*>(widget)) {
        return list->currentIndex() < 0 ? std::string() : list->currentText().toStdString();
    }
    return {};
}

bool SetText(FormWindow& window, Control control, std::string_view text)
{
    QWidget* widget = window.Widget(control);
    if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        box->setText(ToQString(text));
        return true;
    }
    if (auto* list = qobject_cast<QComboBox*>(widget)) {
        const int index = list->findText(ToQString(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0) {
            return false;
        }
        list->setCurrentIndex(index);
        return true;
    }
    return false;
}

void AddItem(FormWindow& window, Control list, std::string_view item)
{
    static_cast<QComboBox*>(window.Widget(list))->addItem(ToQString(item));
}

bool SetListIndex(FormWindow& window, Control control, int index)
{
    auto* list = qobject_cast<QComboBox*>(window.Widget(control));
    if (list == nullptr || index < -1 || index >= list->count()) {
        return false;
    }
    list->setCurrentIndex(index);
    return true;
}

void SetEnabled(FormWindow& window, Control control, bool enabled)
{
    window.Widget(control)->setEnabled(enabled);
}

void FocusControl(FormWindow& window, Control control)
{
    window.Widget(control)->setFocus(Qt::OtherFocusReason);
}

int ScreenWidth(const FormWindow& window)
{
    return window.screen()->geometry().width() * TwipsPerPixel;
}

int ScreenHeight(const FormWindow& window)
{
    return window.screen()->geometry().height() * TwipsPerPixel;
}

int WindowWidth(const FormWindow& window)
{
    return window.frameGeometry().width() * TwipsPerPixel;
}

int WindowHeight(const FormWindow& window)
{
    return window.frameGeometry().height() * TwipsPerPixel;
}

void SetWindowPosition(FormWindow& window, float left, float top)
{
    window.move(window.screen()->geometry().topLeft() + QPoint(ToPixels(left), ToPixels(top)));
}

std::vector<Control> Controls(const FormWindow& window)
{
    // Qt keeps children in the order they were given their parent; message
    // boxes and other windows parented here are not controls.
    std::vector<Control> controls;
    for (const QObject* child : window.children()) {
        if (const ControlLayout* layout = window.LayoutOfWidget(child)) {
            controls.push_back(layout->id);
        }
    }
    return controls;
}

void DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void MsgBox(FormWindow& window, std::string_view text, std::string_view title)
{
    QMessageBox box(QMessageBox::Critical, ToQString(title), ToQString(text), QMessageBox::Ok, &window);
    box.button(QMessageBox::Ok)->installEventFilter(&window);  // a held Enter closes it once
    box.exec();
}

void Unload(FormWindow& window)
{
    window.close();
}

std::string DecimalSeparator()
{
    return QLocale::system().decimalPoint().toStdString();
}

bool LoadToolkitTranslations()
{
    // Owned by the application: Qt reads its texts for the program's life.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
