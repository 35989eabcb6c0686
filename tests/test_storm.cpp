// SPDX-License-Identifier: GPL-3.0-or-later
// Seeded storms of user actions on the real window, on whichever toolkit the
// program is built with (the driver of tests/window_driver.h acts as its
// user): character codes typed wherever the focus is, Tab, clicks into the
// boxes, list picks, numbers typed, pastes from a box's menu, clicks on
// every button, "Limpar" with clicks and a close queued behind it, printing
// with and without a printer, and a close at the end. After every action the
// window shows what a user relies on: the start state after "Limpar", the
// buttons enabled exactly while a result is shown, the focus on a control
// that can take it, the result as the window's record holds it, no click
// handled inside another clear, a close only once the clear is over. What
// the numbers are is the calculation tests' to check.
//
// ORVANTA_STORM_SEQUENCES (default 100) sequences of ORVANTA_STORM_ACTIONS
// (default 50) actions run, with seeds from ORVANTA_STORM_FIRST_SEED
// (default 1) on. ORVANTA_STORM_SEED=N replays the one sequence of seed N
// and prints its actions.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "calc/number_text.h"
#include "tests/window_driver.h"

namespace {

int EnvironmentNumber(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

constexpr Control Boxes[] = {Control::Text1, Control::Text2, Control::Text3};
constexpr Control Lists[] = {Control::Combo1, Control::Combo2, Control::Combo3, Control::Combo4};
constexpr Control Buttons[] = {Control::Command1, Control::Command2, Control::Command3, Control::Command5};

// Character codes typed: digits, the full stop, letters and signs, Backspace,
// Enter, Escape, Ctrl with a letter (paste, copy, cut, undo, select all) and
// Ctrl+Backspace.
const int Codes[] = {'0',  '1', '5', '9', '.', '.', 'a', 'E', '-', ',', ' ', '+',
                     0xe7, 8,   8,   13,  27,  1,   3,   22,  24,  26,  127};

// Numbers a user types into a box, a few of them refused by the ranges.
const char* const TypedNumbers[] = {"1",   "5",   "30",    "1000", "10000", "170",   "20", "100",
                                    "0.5", "2.5", "1.2.3", "0",    "",      "20000", "101"};
// Numbers that all three entries accept.
const char* const AcceptedEntries[] = {"1", "5", "30", "50", "100", "2.5", "12.5", "33.3", "0.99999999"};
// What the clipboard may hold when a box's menu pastes it.
const char* const ClipboardTexts[] = {"x1,5", "1e3", " 12 ", "-5", "7.5.5", "1e999", "99999999999999999999", "pés"};

// What a user sees of the window's result and its effects.
struct Seen {
    std::string result;
    bool limpar, imprimir;
    std::size_t messages, pages;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& s, std::ostream* out)
{
    *out << "result \"" << s.result << "\", Limpar " << s.limpar << ", Imprimir " << s.imprimir << ", " << s.messages
         << " messages, " << s.pages << " pages";
}

struct Totals {
    long sequences = 0, actions = 0, results = 0, refusals = 0, pages = 0, clears = 0;
};

class Storm : public RecordingWindow {
protected:
    int Pick(int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); }
    template <typename T, std::size_t N>
    const T& PickOf(const T (&items)[N])
    {
        return items[Pick(static_cast<int>(N))];
    }
    Seen Look()
    {
        return {Text(Control::Text4), IsEnabled(*form, Control::Command2), IsEnabled(*form, Control::Command3),
                messages.size(), printed.size()};
    }
    Control Focus()
    {
        Control focus{};
        EXPECT_TRUE(Focused(*form, focus));
        return focus;
    }

    void RunSequence(unsigned seed, int count, bool replaying);
    void RunAction();
    void CheckClick(Control button, const Seen& before);
    void CheckWindow();
    void RunClosingAction();
    void TypeAnyCode();
    void PressTabEitherWay();
    void ClickIntoABox();
    void PickAListItem();
    void TypeANumber();
    void FillTheEntriesAndCalculate();
    void Paste();
    void ClickAButton();
    void LimparWithEventsQueuedIfEnabled();
    void SwapThePrinter();
    void TypeNumber(Control box, const std::string& number);
    void LimparWithEventsQueued(bool closing);

    std::mt19937 random;
    std::vector<std::string> actions;
    Totals totals;
    // The button the last action clicked while it was enabled.
    std::optional<Control> clicked;
    // Whether a result has been shown since the start or the last "Limpar".
    bool resultShown = false;
    std::vector<std::uintptr_t> probeDepths;
    bool shownAtProbe = false;
};

// A click on an enabled button, against what the window showed before it.
void Storm::CheckClick(Control button, const Seen& before)
{
    const Seen after = Look();
    SCOPED_TRACE(std::string("click on ") + LayoutOf(button).name);
    if (button == Control::Command2) {
        ExpectStartState();
        resultShown = false;
        ++totals.clears;
    } else if (button == Control::Command1 && after.messages == before.messages) {
        EXPECT_NE(after.result, "");
        EXPECT_TRUE(after.limpar && after.imprimir);
        resultShown = true;
        ++totals.results;
    } else if (button == Control::Command1) {
        ASSERT_EQ(after.messages, before.messages + 1);
        const bool percent = messages.back().text == PercentMessage;
        EXPECT_TRUE(percent || messages.back().text == DimensionMessage) << messages.back().text;
        const Control refused = Focus();
        EXPECT_TRUE(percent ? refused == Control::Text3 : refused == Control::Text1 || refused == Control::Text2);
        EXPECT_EQ(Text(refused), "");
        EXPECT_EQ(after, (Seen{before.result, before.limpar, before.imprimir, after.messages, before.pages}));
        ++totals.refusals;
    } else if (button == Control::Command3 && printFailure != nullptr) {
        ASSERT_EQ(after.messages, before.messages + 1);
        EXPECT_EQ(messages.back().text, printFailure);
        EXPECT_EQ(after, (Seen{before.result, before.limpar, before.imprimir, after.messages, before.pages}));
    } else if (button == Control::Command3) {
        // The page is the record of the result shown.
        ASSERT_EQ(after.pages, before.pages + 1);
        EXPECT_EQ(NumberToText(printed.back().sngFocalLengthShown, DecimalSeparator()), after.result);
        EXPECT_EQ(after, (Seen{before.result, before.limpar, before.imprimir, before.messages, after.pages}));
        ++totals.pages;
    } else {  // "Ajuda"
        EXPECT_EQ(after, before);
    }
}

// What the window shows between actions.
void Storm::CheckWindow()
{
    ASSERT_TRUE(IsShown(*form));
    const std::string result = Text(Control::Text4);
    EXPECT_EQ(result != "", resultShown);
    if (result != "") {
        EXPECT_EQ(result, NumberToText(form->State().sngFocalLengthShown, DecimalSeparator()));
    }
    EXPECT_EQ(IsEnabled(*form, Control::Command2), resultShown);
    EXPECT_EQ(IsEnabled(*form, Control::Command3), resultShown);
    EXPECT_FALSE(IsEnabled(*form, Control::Text4));
    const Control focus = Focus();
    EXPECT_NE(LayoutOf(focus).kind, Kind::Label) << LayoutOf(focus).name;
    EXPECT_TRUE(IsEnabled(*form, focus)) << LayoutOf(focus).name;
    for (const Message& message : messages) EXPECT_EQ(message.title, ErrorTitle);
}

// Types a code into whatever has the focus; Enter presses a focused button,
// but "Fechar" closes the window last, so Tab moves on from it instead.
void Storm::TypeAnyCode()
{
    const Control focus = Focus();
    const int code = PickOf(Codes);
    const bool pressing = code == 13 && LayoutOf(focus).kind == Kind::Button;
    if (pressing && focus == Control::Command4) {
        actions.push_back("Tab from Command4");
        return PressTab(*form, false);
    }
    actions.push_back("type code " + std::to_string(code) + " into " + LayoutOf(focus).name);
    TypeCode(*form, code);
    if (pressing) clicked = focus;
}

// Clicks into the box, takes its text out with Backspace and types number.
void Storm::TypeNumber(Control box, const std::string& number)
{
    ClickOn(*form, box);
    for (std::size_t i = Text(box).size(); i > 0; --i) TypeCode(*form, 8);
    for (const char c : number) TypeCode(*form, c);
}

// "Limpar" with clicks, and when closing a close last, queued behind it:
// they run while the clear lets events through. Two calls queued first and
// last must run at one depth of the stack, as no click starts a clear
// inside the running one, and the window must be shown at the last one,
// as a close waits for the clear.
void Storm::LimparWithEventsQueued(bool closing)
{
    probeDepths.clear();
    const auto probe = [this] {
        probeDepths.push_back(reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)));
        shownAtProbe = IsShown(*form);
    };
    QueueCall(probe);
    std::string description = "Limpar with";
    for (int i = Pick(6); i > 0; --i) {
        const Control button = PickOf(Buttons);
        QueueClick(*form, button);
        description += std::string(" ") + LayoutOf(button).name;
    }
    if (closing && Pick(2) == 0) {
        QueueClick(*form, Control::Command4);
        description += " Command4";
    } else if (closing) {
        QueueClose(*form);
        description += " the close box";
    }
    QueueCall(probe);
    actions.push_back(description + " queued");
    ClickOn(*form, Control::Command2);
    clicked = Control::Command2;
    ASSERT_EQ(probeDepths.size(), 2u);
    EXPECT_EQ(probeDepths[0], probeDepths[1]) << "a click started a clear inside the running one";
    EXPECT_TRUE(shownAtProbe) << "the window closed before the clear was over";
}

// One action picked at random, how often each comes by its weight, and the
// checks of what it did.
void Storm::RunAction()
{
    const struct {
        int weight;
        void (Storm::*run)();
    } table[] = {
        {6, &Storm::TypeAnyCode},    {2, &Storm::PressTabEitherWay}, {2, &Storm::ClickIntoABox},
        {1, &Storm::PickAListItem},  {2, &Storm::TypeANumber},       {2, &Storm::FillTheEntriesAndCalculate},
        {1, &Storm::Paste},          {5, &Storm::ClickAButton},      {2, &Storm::LimparWithEventsQueuedIfEnabled},
        {1, &Storm::SwapThePrinter},
    };
    int total = 0;
    for (const auto& action : table) total += action.weight;
    int pick = Pick(total);
    const Seen before = Look();
    clicked.reset();
    for (const auto& action : table) {
        if (pick < action.weight) {
            (this->*action.run)();
            break;
        }
        pick -= action.weight;
    }
    DoEvents();
    if (clicked) {
        CheckClick(*clicked, before);
    } else {
        EXPECT_EQ(Look(), before);
    }
}

void Storm::PressTabEitherWay()
{
    const bool backwards = Pick(2) == 0;
    actions.push_back(backwards ? "Shift+Tab" : "Tab");
    PressTab(*form, backwards);
}

// Into a number box, or into the result box, which takes no click.
void Storm::ClickIntoABox()
{
    const Control box = Pick(8) == 0 ? Control::Text4 : PickOf(Boxes);
    actions.push_back(std::string("click into ") + LayoutOf(box).name);
    ClickOn(*form, box);
}

void Storm::PickAListItem()
{
    const Control list = PickOf(Lists);
    const int index = Pick(static_cast<int>(ListItems(*form, list).size()));
    actions.push_back("pick item " + std::to_string(index) + " of " + LayoutOf(list).name);
    PickListItem(*form, list, index);
}

void Storm::TypeANumber()
{
    const Control box = PickOf(Boxes);
    const std::string number = PickOf(TypedNumbers);
    actions.push_back("type \"" + number + "\" into " + LayoutOf(box).name);
    TypeNumber(box, number);
}

// Types an accepted number into each entry and clicks "Calcular".
void Storm::FillTheEntriesAndCalculate()
{
    std::string description = "fill the entries with";
    for (const Control box : Boxes) {
        const std::string number = PickOf(AcceptedEntries);
        description += " \"" + number + "\"";
        TypeNumber(box, number);
    }
    actions.push_back(description + " and click Command1");
    ClickOn(*form, Control::Command1);
    clicked = Control::Command1;
}

void Storm::Paste()
{
    const Control box = PickOf(Boxes);
    const std::string text = PickOf(ClipboardTexts);
    actions.push_back("paste \"" + text + "\" into " + LayoutOf(box).name + " from its menu");
    PasteFromMenu(*form, box, text);
}

// Calcular comes most often.
void Storm::ClickAButton()
{
    const Control button = Pick(2) == 0 ? Control::Command1 : PickOf(Buttons);
    const bool enabled = IsEnabled(*form, button);
    actions.push_back(std::string("click ") + LayoutOf(button).name + (enabled ? "" : " (disabled)"));
    ClickOn(*form, button);
    if (enabled) clicked = button;
}

void Storm::LimparWithEventsQueuedIfEnabled()
{
    if (IsEnabled(*form, Control::Command2)) {
        LimparWithEventsQueued(false);
    } else {
        ClickAButton();
    }
}

void Storm::SwapThePrinter()
{
    printFailure = printFailure == nullptr ? "Nenhuma impressora padrão está instalada." : nullptr;
    actions.push_back(printFailure == nullptr ? "printer installed" : "printer removed");
}

// The last action: "Fechar", the close box, or "Limpar" with a close queued
// behind it. The program must end.
void Storm::RunClosingAction()
{
    const int way = IsEnabled(*form, Control::Command2) && Pick(2) == 0 ? 2 : Pick(2);
    if (way < 2) actions.push_back(way == 0 ? "click Command4" : "the close box");
    EXPECT_TRUE(RunsUntilTheProgramEnds(*form, [this, way] {
        if (way == 0) {
            ClickOn(*form, Control::Command4);
        } else if (way == 1) {
            QueueClose(*form);
        } else {
            LimparWithEventsQueued(true);
        }
    }));
    EXPECT_FALSE(IsShown(*form));
}

// Runs one sequence on a new window; prints its actions when it failed or
// is replayed.
void Storm::RunSequence(unsigned seed, int count, bool replaying)
{
    random.seed(seed);
    actions.clear();
    messages.clear();
    printed.clear();
    printFailure = nullptr;
    resultShown = false;
    SetUp();
    for (int i = 0; i + 1 < count && !HasFailure(); ++i) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", action " + std::to_string(i + 1));
        RunAction();
        ++totals.actions;
        if (!HasFailure()) CheckWindow();
    }
    if (!HasFailure()) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", closing action");
        RunClosingAction();
        ++totals.actions;
    }
    ++totals.sequences;
    if (HasFailure() || replaying) {
        std::cout << "Storm seed " << seed << (HasFailure() ? " failed" : "") << " after these actions:\n";
        for (std::size_t i = 0; i < actions.size(); ++i) std::cout << "  " << i + 1 << ". " << actions[i] << "\n";
        std::cout << "Replay with ORVANTA_STORM_SEED=" << seed << "\n";
    }
}

TEST_F(Storm, SeededActionSequencesKeepTheWindowConsistent)
{
    const int count = EnvironmentNumber("ORVANTA_STORM_ACTIONS", 50);
    const char* replay = std::getenv("ORVANTA_STORM_SEED");
    const int first = replay != nullptr ? std::atoi(replay) : EnvironmentNumber("ORVANTA_STORM_FIRST_SEED", 1);
    const int sequences = replay != nullptr ? 1 : EnvironmentNumber("ORVANTA_STORM_SEQUENCES", 100);
    ASSERT_GE(count, 1);
    for (int i = 0; i < sequences && !HasFailure(); ++i) {
        RunSequence(static_cast<unsigned>(first + i), count, replay != nullptr);
    }
    std::cout << "Storm: " << totals.sequences << " sequences, " << totals.actions << " actions, " << totals.results
              << " results, " << totals.refusals << " refusals, " << totals.pages << " pages, " << totals.clears
              << " clears\n";
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RunTestsWithToolkit(argc, argv);
}
