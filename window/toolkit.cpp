// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/toolkit.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTranslator>
#include <QVariant>
#include <QWidget>

#include <cmath>
#include <span>

#include "calc/number_text.h"

namespace {

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int ToPixels(float twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

// One code per character of text.
std::vector<int> CharacterCodes(const QString& text)
{
    std::vector<int> codes;
    for (const QChar character : text) {
        codes.push_back(character.unicode());
    }
    return codes;
}

}  // namespace

std::string GetText(const QWidget* control)
{
    if (const auto* box = qobject_cast<const QLineEdit*>(control)) {
        return box->text().toStdString();
    }
    if (const auto* list = qobject_cast<const QComboBox*>(control)) {
        return list->currentIndex() < 0 ? std::string() : list->currentText().toStdString();
    }
    return {};
}

bool SetText(QWidget* control, std::string_view text)
{
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        box->setText(ToQString(text));
        return true;
    }
    if (auto* list = qobject_cast<QComboBox*>(control)) {
        const int index = list->findText(ToQString(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0) {
            return false;
        }
        list->setCurrentIndex(index);
        return true;
    }
    return false;
}

void AddItem(QComboBox* list, std::string_view item)
{
    list->addItem(ToQString(item));
}

bool SetListIndex(QWidget* control, int index)
{
    auto* list = qobject_cast<QComboBox*>(control);
    if (list == nullptr || index < -1 || index >= list->count()) {
        return false;
    }
    list->setCurrentIndex(index);
    return true;
}

void SetEnabled(QWidget* control, bool enabled)
{
    control->setEnabled(enabled);
}

void SetFocus(QWidget* control)
{
    control->setFocus(Qt::OtherFocusReason);
}

int ScreenWidth(const QWidget* window)
{
    return window->screen()->geometry().width() * TwipsPerPixel;
}

int ScreenHeight(const QWidget* window)
{
    return window->screen()->geometry().height() * TwipsPerPixel;
}

int WindowWidth(const QWidget* window)
{
    return window->frameGeometry().width() * TwipsPerPixel;
}

int WindowHeight(const QWidget* window)
{
    return window->frameGeometry().height() * TwipsPerPixel;
}

void SetWindowPosition(QWidget* window, float left, float top)
{
    window->move(window->screen()->geometry().topLeft() + QPoint(ToPixels(left), ToPixels(top)));
}

std::vector<QWidget*> Controls(const QWidget* window)
{
    // Qt keeps children in the order they were given their parent; message
    // boxes and other windows parented here are not controls.
    std::vector<QWidget*> controls;
    for (QObject* child : window->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && !widget->isWindow()) {
            controls.push_back(widget);
        }
    }
    return controls;
}

bool SetProperty(QWidget* control, std::string_view name, const QVariant& value)
{
    if (name == "Text" && value.canConvert<QString>()) {
        return SetText(control, value.toString().toStdString());
    }
    if (name == "ListIndex" && value.canConvert<int>()) {
        return SetListIndex(control, value.toInt());
    }
    return false;
}

void DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::vector<int> KeyPressCodes(const QKeyEvent& event)
{
    // The clipboard and undo shortcuts count as the control characters they
    // are typed with, so that a numeric box can refuse them; this covers
    // Shift+Insert and Ctrl+Insert as well as Ctrl+V and Ctrl+C.
    struct Shortcut {
        QKeySequence::StandardKey key;
        int code;
    };
    static const Shortcut shortcuts[] = {
        {QKeySequence::Copy, 3},  {QKeySequence::Paste, 22}, {QKeySequence::Cut, 24},
        {QKeySequence::Undo, 26}, {QKeySequence::Redo, 25},  {QKeySequence::SelectAll, 1},
    };
    for (const Shortcut& shortcut : shortcuts) {
        if (event.matches(shortcut.key)) {
            return {shortcut.code};
        }
    }
    // Keys whose code is not their text, alone and with Ctrl. Ctrl with any
    // other key but a letter makes no code.
    struct KeyCode {
        int key;
        int code;  // NoCode: the key makes none
    };
    constexpr int NoCode = -1;
    static constexpr KeyCode plainKeys[] = {
        {Qt::Key_Backspace, BackspaceCode},
        {Qt::Key_Return, EnterCode},
        {Qt::Key_Enter, EnterCode},
        {Qt::Key_Escape, 27},
        {Qt::Key_Tab, NoCode},
        {Qt::Key_Backtab, NoCode},
        {Qt::Key_Delete, NoCode},
    };
    static constexpr KeyCode controlKeys[] = {
        {Qt::Key_Backspace, 127},  {Qt::Key_Return, 10},      {Qt::Key_Enter, 10},     {Qt::Key_Space, 32},
        {Qt::Key_At, 0},           {Qt::Key_BracketLeft, 27}, {Qt::Key_Backslash, 28}, {Qt::Key_BracketRight, 29},
        {Qt::Key_AsciiCircum, 30}, {Qt::Key_Underscore, 31},
    };
    const bool control = event.modifiers() & Qt::ControlModifier;
    if (control && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z) {
        return {event.key() - Qt::Key_A + 1};
    }
    const std::span<const KeyCode> keys = control ? std::span<const KeyCode>(controlKeys) : plainKeys;
    for (const KeyCode& key : keys) {
        if (key.key == event.key()) {
            return key.code == NoCode ? std::vector<int>{} : std::vector<int>{key.code};
        }
    }
    return control ? std::vector<int>{} : CharacterCodes(event.text());
}

std::vector<int> TakeCommittedCodes(QInputMethodEvent& event)
{
    std::vector<int> codes = CharacterCodes(event.commitString());
    event.setCommitString(QString(), event.replacementStart(), event.replacementLength());
    return codes;
}

bool IsKeyRepeat(KeyHistory& history, const QKeyEvent& event)
{
    const unsigned long long at = event.timestamp();
    if (event.type() == QEvent::KeyRelease) {
        if (event.key() == history.key) {
            history.releasedAt = at;
        }
        return event.isAutoRepeat();
    }
    if (event.key() != history.key) {
        history = {event.key(), at, at};  // no release yet
        return event.isAutoRepeat();
    }
    const bool repeat = event.isAutoRepeat() || (at == history.releasedAt && history.releasedAt != history.pressedAt);
    history.pressedAt = at;
    return repeat;
}

void TypeInto(QLineEdit* box, int code)
{
    if (code == BackspaceCode) {
        box->backspace();
    } else {
        box->insert(QString(QChar(code)));
    }
}

void MsgBox(QWidget* owner, std::string_view text, std::string_view title)
{
    QMessageBox box(QMessageBox::Critical, ToQString(title), ToQString(text), QMessageBox::Ok, owner);
    box.exec();
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

void Unload(QWidget* window)
{
    window->close();
}
