// SPDX-License-Identifier: GPL-3.0-or-later
// The window's behaviour, on whichever toolkit the program is built with:
// the driver (tests/window_driver.h) acts as a user does on that toolkit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/window_driver.h"

namespace {

constexpr Control NumberBoxes[] = {Control::Text1, Control::Text2, Control::Text3};

class Behaviour : public RecordingWindow {
protected:
    std::string FocusedName()
    {
        Control control{};
        return Focused(*form, control) ? LayoutOf(control).name : "(none)";
    }
};

TEST_F(Behaviour, StartsWithListsDefaultsAndFocusOnThePercentage)
{
    EXPECT_EQ(ListItems(*form, Control::Combo1), (std::vector<std::string>{"1/3", "1/4", "1/2", "2/3", "1"}));
    const std::vector<std::string> units = {"milimetros", "centimetros", "metros", "pés"};
    EXPECT_EQ(ListItems(*form, Control::Combo2), units);
    EXPECT_EQ(ListItems(*form, Control::Combo3), (std::vector<std::string>{"Altura", "Largura", "Diagonal"}));
    EXPECT_EQ(ListItems(*form, Control::Combo4), units);
    ExpectStartState();
    std::vector<std::string> names;
    for (const Control control : Controls(Window())) names.push_back(LayoutOf(control).name);
    EXPECT_EQ(names, (std::vector<std::string>{"Command5", "Text3",   "Text4",   "Command4", "Command3", "Command2",
                                               "Command1", "Combo4",  "Text2",   "Combo3",   "Combo2",   "Text1",
                                               "Combo1",   "Label11", "Label10", "Label9",   "Label8",   "Label7",
                                               "Label6",   "Label5",  "Label2",  "Label4",   "Label3",   "Label1"}));
}

TEST_F(Behaviour, TabAndShiftTabCycles)
{
    const std::vector<std::string> initial = {"Command1", "Command4", "Combo1", "Text1",    "Combo2",
                                              "Combo3",   "Text2",    "Combo4", "Command5", "Text3"};
    const std::vector<std::string> enabled = {"Command1", "Command2", "Command3", "Command4", "Combo1",   "Text1",
                                              "Combo2",   "Combo3",   "Text2",    "Combo4",   "Command5", "Text3"};
    for (bool withButtons : {false, true}) {
        SCOPED_TRACE(withButtons ? "Imprimir and Limpar enabled" : "initial state");
        SetEnabled(Window(), Control::Command2, withButtons);
        SetEnabled(Window(), Control::Command3, withButtons);
        const auto& cycle = withButtons ? enabled : initial;
        ClickOn(*form, Control::Text3);
        std::vector<std::string> forward, backward;
        for (std::size_t i = 0; i < cycle.size(); ++i) {
            PressTab(*form, false);
            forward.push_back(FocusedName());
        }
        EXPECT_EQ(forward, cycle);
        for (std::size_t i = 0; i < cycle.size(); ++i) {
            PressTab(*form, true);
            backward.push_back(FocusedName());
        }
        std::vector<std::string> reversed(cycle.rbegin() + 1, cycle.rend());
        reversed.push_back(cycle.back());
        EXPECT_EQ(backward, reversed);
    }
}

// Typed into each number box holding "12", the cursor at its end.
TEST_F(Behaviour, NumberBoxesTakeOnlyDigitsFullStopAndBackspace)
{
    const struct {
        int code;
        const char* after;
    } cases[] = {
        {'3', "123"}, {'.', "12."}, {8, "1"},    {'-', "12"}, {',', "12"}, {' ', "12"},
        {'a', "12"},  {'E', "12"},  {'+', "12"}, {22, "12"},  {24, "12"},  {3, "12"},
        {26, "12"},   {27, "12"},   {127, "12"}, {10, "12"},  {1, "12"},   {0xe9, "12"},
    };
    for (const Control box : NumberBoxes) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(LayoutOf(box).name) + " code " + std::to_string(c.code));
            SetText(Window(), box, "12");
            ClickOn(*form, box);
            TypeCode(*form, c.code);
            EXPECT_EQ(Text(box), c.after);
            EXPECT_EQ(FocusedName(), LayoutOf(box).name);
        }
        // The keyboard's other paste key is refused as Ctrl+V (22) is.
        SetText(Window(), box, "12");
        PasteWithShiftInsert(*form, "34");
        EXPECT_EQ(Text(box), "12");
    }
    EXPECT_TRUE(messages.empty());
}

// The keypad's decimal key types the separator the boxes read, whatever
// character the layout gives it; the main keyboard's comma stays refused.
TEST_F(Behaviour, TheKeypadDecimalKeyTypesTheFullStop)
{
    for (const Control box : NumberBoxes) {
        SCOPED_TRACE(LayoutOf(box).name);
        SetText(Window(), box, "2");
        ClickOn(*form, box);
        TypeKeypadDecimal(*form);
        TypeCode(*form, '5');
        TypeCode(*form, ',');
        EXPECT_EQ(Text(box), "2.5");
    }
}

TEST_F(Behaviour, EnterMovesTheFocusFromEachNumberBox)
{
    const struct {
        Control box;
        const char* next;
    } cases[] = {{Control::Text1, "Combo2"}, {Control::Text2, "Combo4"}, {Control::Text3, "Combo4"}};
    for (const auto& c : cases) {
        ClickOn(*form, c.box);
        TypeCode(*form, 13);
        EXPECT_EQ(FocusedName(), c.next);
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Text(Control::Text4), "");  // Enter presses no button
}

// Text composed from a dead key and a letter, or an input method's own
// string: each character passes the key filter.
TEST_F(Behaviour, EveryCharacterAnInputMethodCommitsIsFiltered)
{
    const struct {
        const char* committed;
        const char* kept;
    } cases[] = {{"é", ""}, {"´7", "7"}, {"12", "12"}, {"ç", ""}, {"~", ""}, {"7é.5", "7.5"}, {"1-5", "15"}};
    for (const Control box : NumberBoxes) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(LayoutOf(box).name) + " committing " + c.committed);
            SetText(Window(), box, "5");
            ClickOn(*form, box);
            CommitText(*form, c.committed);
            EXPECT_EQ(Text(box), std::string("5") + c.kept);
        }
    }
}

TEST_F(Behaviour, WorkedExampleShowsTheFocalLengthAndEnablesButtons)
{
    SetText(Window(), Control::Combo2, "milimetros");
    Fill("1000", "5", "100");
    ClickOn(*form, Control::Command1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Text(Control::Text4), "24");
    EXPECT_TRUE(IsEnabled(*form, Control::Command2));
    EXPECT_TRUE(IsEnabled(*form, Control::Command3));
    const CalcState& s = form->State();
    EXPECT_EQ(s.sngFocalLengthShown, 24.0f);
    EXPECT_EQ(s.strTargetUnit, "milimetros");
    EXPECT_EQ(s.sngTargetSize, 1000.0f);
    EXPECT_EQ(s.sngDistance, 5.0f);
    EXPECT_EQ(s.sngSensorHeight, 3.6f);
}

TEST_F(Behaviour, OutOfRangeEntriesAreRefusedWithTheirMessage)
{
    const struct {
        const char *target, *distance, *percent;
        const std::string* message;
        int refusedBox;                                     // 1, 2 or 3
        float storedTarget, storedDistance, storedPercent;  // -1: as before
    } cases[] = {
        {"", "5", "100", &DimensionMessage, 1, 0, -1, -1},
        {"0.99", "5", "100", &DimensionMessage, 1, 0.99f, -1, -1},
        {"10000.01", "5", "100", &DimensionMessage, 1, 10000.01f, -1, -1},
        {"1000", "", "100", &DimensionMessage, 2, 1000, 0, -1},
        {"1000", "20000", "100", &DimensionMessage, 2, 1000, 20000, -1},
        {"1000", "5", "0", &PercentMessage, 3, 1000, 5, 0},
        {"1000", "5", "101", &PercentMessage, 3, 1000, 5, 101},
        {"1000", "5", "100.5", &PercentMessage, 3, 1000, 5, 100.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.target) + "/" + c.distance + "/" + c.percent);
        messages.clear();
        Fill(c.target, c.distance, c.percent);
        const CalcState before = form->State();
        const Control refused = NumberBoxes[c.refusedBox - 1];
        // The message shows before the box is emptied and focused.
        std::string textWhileShown;
        onMessage = [&] { textWhileShown = Text(refused); };
        ClickOn(*form, Control::Command1);
        onMessage = nullptr;
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, *c.message);
        EXPECT_EQ(messages[0].title, ErrorTitle);
        EXPECT_EQ(textWhileShown, c.refusedBox == 1 ? c.target : c.refusedBox == 2 ? c.distance : c.percent);
        EXPECT_EQ(Text(refused), "");
        EXPECT_EQ(FocusedName(), LayoutOf(refused).name);
        const CalcState& s = form->State();
        EXPECT_EQ(s.sngTargetSize, c.storedTarget);
        EXPECT_EQ(s.sngDistance, c.storedDistance < 0 ? before.sngDistance : c.storedDistance);
        EXPECT_EQ(s.sngScreenPercent, c.storedPercent < 0 ? before.sngScreenPercent : c.storedPercent);
        EXPECT_EQ(s.sngFocalLength, before.sngFocalLength);
        EXPECT_EQ(Text(Control::Text4), "");
        EXPECT_FALSE(IsEnabled(*form, Control::Command2));
        EXPECT_FALSE(IsEnabled(*form, Control::Command3));
    }
}

// A refusal after a success keeps the result and the buttons; the record
// holds the refused entry, but the page prints the inputs of the result it
// shows, never a result beside inputs that did not give it.
TEST_F(Behaviour, RefusalAfterSuccessKeepsResultButtonsAndThePage)
{
    SetText(Window(), Control::Combo2, "milimetros");
    Fill("1000", "5", "100");
    ClickOn(*form, Control::Command1);
    ASSERT_EQ(Text(Control::Text4), "24");
    const CalcState calculated = form->State();
    Fill("1000", "0", "100");
    ClickOn(*form, Control::Command1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(Text(Control::Text4), "24");
    EXPECT_TRUE(IsEnabled(*form, Control::Command2));
    EXPECT_TRUE(IsEnabled(*form, Control::Command3));
    EXPECT_EQ(form->State().sngDistance, 0.0f);
    ClickOn(*form, Control::Command3);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], calculated);
}

TEST_F(Behaviour, AnEmptyPickListRefusesTheCalculation)
{
    Fill("6", "30", "100");
    ClickOn(*form, Control::Command1);
    ASSERT_EQ(Text(Control::Text4), "24");
    for (const Control list : {Control::Combo1, Control::Combo2, Control::Combo3, Control::Combo4}) {
        SCOPED_TRACE(LayoutOf(list).name);
        messages.clear();
        const std::string selected = Text(list);
        SetText(Window(), Control::Combo2, "milimetros");  // would give a different result
        ASSERT_TRUE(SetListIndex(Window(), list, -1));
        ClickOn(*form, Control::Command1);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].text.find("Não foi possível calcular"), std::string::npos);
        EXPECT_EQ(Text(Control::Text4), "24");
        EXPECT_TRUE(IsEnabled(*form, Control::Command3));
        SetText(Window(), list, selected);
        SetText(Window(), Control::Combo2, "metros");
    }
}

TEST_F(Behaviour, LimparRestoresTheStartState)
{
    SetText(Window(), Control::Combo1, "2/3");
    SetText(Window(), Control::Combo3, "Altura");
    SetText(Window(), Control::Combo2, "centimetros");
    Fill("170", "20", "50");
    ClickOn(*form, Control::Command1);
    ASSERT_EQ(Text(Control::Text4), "38.8");
    const CalcState computed = form->State();
    ClickOn(*form, Control::Command2);
    ExpectStartState();
    // Entries, factors and results stay in the record.
    EXPECT_EQ(form->State().sngTargetSize, computed.sngTargetSize);
    EXPECT_EQ(form->State().sngSensorHeight, computed.sngSensorHeight);
    EXPECT_EQ(form->State().sngFocalLengthShown, computed.sngFocalLengthShown);
}

// However long Enter or Space is held on a focused button, it is pressed
// once, and the repeats do nothing where that press put the focus.
TEST_F(Behaviour, AHeldKeyPressesTheFocusedButtonOnce)
{
    const struct {
        Control button;
        bool space;
        std::size_t pages;
        const char* focusAfter;
    } cases[] = {
        {Control::Command3, false, 1, "Command3"},
        {Control::Command3, true, 1, "Command3"},
        {Control::Command2, false, 0, "Text3"},
        {Control::Command2, true, 0, "Text3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(LayoutOf(c.button).name) + (c.space ? " Space" : " Enter"));
        Fill("6", "30", "100");
        ClickOn(*form, Control::Command1);
        FocusControl(Window(), c.button);
        const std::size_t pages = printed.size();
        HoldKey(*form, c.space, 30);
        EXPECT_EQ(printed.size() - pages, c.pages);
        EXPECT_EQ(FocusedName(), c.focusAfter);
    }
}

TEST_F(Behaviour, FecharAndTheCloseBoxEndTheProgram)
{
    EXPECT_TRUE(RunsUntilTheProgramEnds(*form, [this] { ClickOn(*form, Control::Command4); }));
    EXPECT_FALSE(IsShown(*form));
    form = std::make_unique<Form1>([](const CalcState&) {});
    ShowAndActivate(*form);
    EXPECT_TRUE(RunsUntilTheProgramEnds(*form, [this] { Unload(Window()); }));
    EXPECT_FALSE(IsShown(*form));
}

TEST_F(Behaviour, AjudaDoesNothing)
{
    ClickOn(*form, Control::Command5);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(printed.empty());
    EXPECT_TRUE(IsShown(*form));
    EXPECT_EQ(FocusedName(), "Command5");  // it can be focused
}

TEST_F(Behaviour, ImprimirPrintsTheRecordAndReportsFailures)
{
    Fill("6", "30", "100");
    ClickOn(*form, Control::Command1);
    Fill("9", "9", "9");  // changed after the calculation: not what prints
    ClickOn(*form, Control::Command3);
    ClickOn(*form, Control::Command3);
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0].sngTargetSize, 6.0f);
    EXPECT_EQ(printed[1].sngFocalLengthShown, 24.0f);

    printFailure = "Nenhuma impressora padrão está instalada.";
    ClickOn(*form, Control::Command3);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Nenhuma impressora padrão está instalada.");
    EXPECT_EQ(messages[0].title, ErrorTitle);
    EXPECT_TRUE(IsEnabled(*form, Control::Command3));
    EXPECT_TRUE(IsShown(*form));
    EXPECT_EQ(form->State().sngTargetSize, 6.0f);
}

// A printer's own dialog (a file name asked for) runs the window's events
// inside "Imprimir": another "Imprimir" or a "Limpar" clicked then does
// nothing, and a close waits until the print is over.
TEST_F(Behaviour, ClicksInsideAPrintWaitForIt)
{
    Fill("6", "30", "100");
    ClickOn(*form, Control::Command1);
    std::string resultInside;
    onPrint = [&] {
        onPrint = nullptr;
        QueueClick(*form, Control::Command3);
        QueueClick(*form, Control::Command2);
        QueueClose(*form);
        DoEvents();
        resultInside = Text(Control::Text4);
        EXPECT_TRUE(IsShown(*form));
    };
    EXPECT_TRUE(RunsUntilTheProgramEnds(*form, [this] { ClickOn(*form, Control::Command3); }));
    EXPECT_EQ(printed.size(), 1u);
    EXPECT_EQ(resultInside, "24");
    EXPECT_FALSE(IsShown(*form));
}

// CTest runs this under Brazilian and English regional settings.
TEST_F(Behaviour, ResultUsesTheRegionalDecimalSeparator)
{
    Fill("3", "12", "80");
    SetText(Window(), Control::Combo1, "1/2");
    SetText(Window(), Control::Combo3, "Altura");
    ClickOn(*form, Control::Command1);
    const std::string separator = DecimalSeparator();
    EXPECT_EQ(Text(Control::Text4), "15" + separator + "4");
    if (const char* expected = std::getenv("ORVANTA_EXPECT_SEPARATOR")) {
        EXPECT_EQ(separator, expected);
    }
}

TEST_F(Behaviour, PropertiesByNameFailWithoutEffect)
{
    const struct {
        Control control;
        const char* name;
        PropertyValue value;
        bool accepted;
    } cases[] = {
        {Control::Label2, "Text", std::string(), false},
        {Control::Label2, "ListIndex", -1, false},
        {Control::Command1, "Text", std::string(), false},
        {Control::Combo4, "Text", std::string(), false},
        {Control::Combo4, "Text", std::string("Metros"), false},
        {Control::Combo4, "ListIndex", 4, false},
        {Control::Combo4, "ListIndex", -2, false},
        {Control::Combo4, "Caption", std::string("x"), false},
        {Control::Text1, "ListIndex", -1, false},
        {Control::Combo4, "Text", std::string("pés"), true},
        {Control::Text1, "Text", std::string("12"), true},
        {Control::Combo4, "ListIndex", -1, true},
        {Control::Text4, "Text", std::string("24"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " on " + LayoutOf(c.control).name);
        EXPECT_EQ(SetProperty(Window(), c.control, c.name, c.value), c.accepted);
    }
    EXPECT_EQ(Text(Control::Combo4), "");
    EXPECT_EQ(Text(Control::Text1), "12");
    EXPECT_EQ(Text(Control::Text4), "24");  // set while disabled
    EXPECT_EQ(Text(Control::Label2), "");   // labels have no text to read
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RunTestsWithToolkit(argc, argv);
}
