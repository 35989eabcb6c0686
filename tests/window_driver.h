// SPDX-License-Identifier: GPL-3.0-or-later
// A user at the window, for the behaviour tests that run on every toolkit:
// each toolkit's driver (driver_qt.cpp, driver_win32.cpp) does these as its
// platform delivers them, each action run to completion.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "window/form1.h"

// Runs the test program's tests with the toolkit started for them.
int RunTestsWithToolkit(int argc, char** argv);

// Shows the window and makes it the active one.
void ShowAndActivate(Form1& form);

// A mouse click on the control: an enabled button is pressed, a box or a
// list takes the focus.
void ClickOn(Form1& form, Control control);

// Types the character code into the focused control as a key of the
// keyboard: 8 Backspace, 13 Enter, 27 Escape, 1 to 26 Ctrl with a letter,
// 127 Ctrl+Backspace, any other its character.
void TypeCode(Form1& form, int code);

// Text an input method commits into the focused control (UTF-8).
void CommitText(Form1& form, const std::string& text);

// Tab, or Shift+Tab when backwards.
void PressTab(Form1& form, bool backwards);

// Holds Enter (or Space) on the focused control through repeats marked as
// the platform marks them, then lets it go.
void HoldKey(Form1& form, bool space, int repeats);

// The control that has the keyboard focus; false when none of the window's.
bool Focused(Form1& form, Control& control);

bool IsEnabled(Form1& form, Control control);
bool IsShown(Form1& form);

// The items of a pick list, in order.
std::vector<std::string> ListItems(Form1& form, Control list);

// Runs the toolkit's event loop, as the program does, with action queued
// first; true when it ended because the window closed.
bool RunsUntilTheProgramEnds(Form1& form, const std::function<void()>& action);

inline const std::string DimensionMessage = "Digitação Inválida. A dimensão do objeto deve estar entre 1 e 10000.";
inline const std::string PercentMessage =
    "Digitação Inválida, a porcentagem de visualização em tela deve estar entre 1% e 100%.";
inline const std::string ErrorTitle = "Mensagem de Erro!";

struct Message {
    std::string text;
    std::string title;
    bool operator==(const Message&) const = default;
};

// Stands for the message box: keeps every message shown, and runs onMessage
// (when set) while the box would be open.
struct MessageRecorder {
    std::vector<Message> messages;
    std::function<void()> onMessage;

    MessageAction Action()
    {
        return [this](FormWindow&, std::string_view text, std::string_view title) {
            messages.push_back({std::string(text), std::string(title)});
            if (onMessage) onMessage();
        };
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const Message& message : messages) texts.push_back(message.text);
        return texts;
    }
};

// A shown, active window whose message boxes and print requests are
// recorded; printing fails with printFailure when it is set.
class RecordingWindow : public testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<Form1>(
            [this](const CalcState& state) {
                if (printFailure) throw std::runtime_error(printFailure);
                printed.push_back(state);
            },
            recorder.Action());
        ShowAndActivate(*form);
    }

    MessageRecorder recorder;
    std::vector<Message>& messages = recorder.messages;
    std::function<void()>& onMessage = recorder.onMessage;
    std::unique_ptr<Form1> form;
    std::vector<CalcState> printed;
    const char* printFailure = nullptr;
};
