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

// Presses the keypad's decimal key in the focused control, under a keyboard
// layout (Brazilian) whose keypad decimal key types a comma.
void TypeKeypadDecimal(Form1& form);

// Text an input method commits into the focused control (UTF-8).
void CommitText(Form1& form, const std::string& text);

// Puts text on the clipboard and presses Shift+Insert in the focused
// control.
void PasteWithShiftInsert(Form1& form, const std::string& text);

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

// For the storm of user actions: leaves a list as a pick with the mouse
// does, the item selected and the list focused; pastes text into a box from
// its context menu, past the key filter; queues a click on a button, the
// close box, or a call, each run when events are next processed.
void PickListItem(Form1& form, Control list, int index);
void PasteFromMenu(Form1& form, Control box, const std::string& text);
void QueueClick(Form1& form, Control button);
void QueueClose(Form1& form);
void QueueCall(const std::function<void()>& call);

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
// recorded; printing runs onPrint (when set) as a printer's own dialog
// would, and fails with printFailure when it is set.
class RecordingWindow : public testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<Form1>(
            [this](const CalcState& state) {
                if (printFailure) throw std::runtime_error(printFailure);
                printed.push_back(state);
                if (onPrint) onPrint();
            },
            recorder.Action());
        ShowAndActivate(*form);
    }

    FormWindow& Window() { return form->Window(); }
    std::string Text(Control control) { return GetText(Window(), control); }
    void Fill(const char* target, const char* distance, const char* percent)
    {
        SetText(Window(), Control::Text1, target);
        SetText(Window(), Control::Text2, distance);
        SetText(Window(), Control::Text3, percent);
    }
    // The state at start-up and after "Limpar"; the focus in Text3 when the
    // window is still shown.
    void ExpectStartState(bool shown = true)
    {
        EXPECT_EQ(Text(Control::Text1), "");
        EXPECT_EQ(Text(Control::Text2), "");
        EXPECT_EQ(Text(Control::Text3), "100");
        EXPECT_EQ(Text(Control::Text4), "");
        EXPECT_EQ(Text(Control::Combo1), "1/3");
        EXPECT_EQ(Text(Control::Combo2), "metros");
        EXPECT_EQ(Text(Control::Combo3), "Largura");
        EXPECT_EQ(Text(Control::Combo4), "metros");
        EXPECT_FALSE(IsEnabled(*form, Control::Command2));
        EXPECT_FALSE(IsEnabled(*form, Control::Command3));
        EXPECT_FALSE(IsEnabled(*form, Control::Text4));
        Control focus{};
        EXPECT_TRUE(!shown || (Focused(*form, focus) && focus == Control::Text3));
        const CalcState& s = form->State();
        EXPECT_EQ(s.strCameraFormat, "1/3");
        EXPECT_EQ(s.strTargetUnit, "metros");
        EXPECT_EQ(s.strDimensionKind, "Largura");
        EXPECT_EQ(s.strDistanceUnit, "metros");
        EXPECT_EQ(s.sngScreenPercent, 100.0f);
    }

    MessageRecorder recorder;
    std::vector<Message>& messages = recorder.messages;
    std::function<void()>& onMessage = recorder.onMessage;
    std::unique_ptr<Form1> form;
    std::vector<CalcState> printed;
    std::function<void()> onPrint;
    const char* printFailure = nullptr;
};
