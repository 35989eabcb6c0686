// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/qt/keys.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

#include <span>

#include "calc/number_text.h"

namespace {

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
    if (IsKeypadComma(event)) {
        return {'.'};
    }
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

std::vector<int> CommittedCodes(const QInputMethodEvent& event)
{
    return CharacterCodes(event.commitString());
}

// The keypad's decimal key types the layout's separator, a comma under the
// Brazilian layouts (KP_Separator). The main keyboard's comma is left to the
// key filter.
bool IsKeypadComma(const QKeyEvent& event)
{
    return (event.modifiers() & Qt::KeypadModifier) && event.key() == Qt::Key_Comma;
}

bool PressesAButton(const QKeyEvent& event)
{
    const int key = event.key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space || key == Qt::Key_Select;
}

void TypeInto(QLineEdit& box, int code)
{
    if (code == BackspaceCode) {
        box.backspace();
    } else {
        box.insert(QString(QChar(code)));
    }
}
