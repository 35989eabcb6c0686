// SPDX-License-Identifier: GPL-3.0-or-later
// Seeded storms of user actions on the real window: keys of every kind typed
// wherever the focus is, keys held down, numbers typed into the number boxes,
// text an input method commits into them, pastes from their context menu,
// clicks into them, list picks, clicks on every button, "Limpar" with clicks,
// keys and a close queued behind it, printing with and without a printer,
// and a close at the end. A model built from what each action did says what
// the window must show after every action and after every click the window
// handles, queued ones included.
//
// ORVANTA_STORM_SEQUENCES (default 100) sequences of ORVANTA_STORM_ACTIONS
// (default 50) actions run, with seeds from ORVANTA_STORM_FIRST_SEED
// (default 1) on. ORVANTA_STORM_SEED=N replays the one sequence of seed N
// and prints its actions.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <array>
#include <functional>
#include <iostream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "calc/lens.h"
#include "calc/number_text.h"
#include "tests/window_testing.h"
#include "window/form1.h"
#include "window/qt/form_window.h"
#include "window/toolkit.h"

// Failure messages show a QString as its text.
QT_BEGIN_NAMESPACE
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

const std::string NoPrinterMessage = "Nenhuma impressora padrão está instalada.";

const std::vector<QString> FormatItems = {"1/3", "1/4", "1/2", "2/3", "1"};
const std::vector<QString> UnitItems = {"milimetros", "centimetros", "metros", "pés"};
const std::vector<QString> KindItems = {"Altura", "Largura", "Diagonal"};

int EnvironmentNumber(const char* name, int fallback)
{
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? fallback : value.toInt();
}

// What a key does in a number box.
enum class Effect {
    Insert,     // its digits and full stops go in at the cursor, over the
                // selection; a text of several characters is as many keys
    Backspace,  // the selection, or the character before the cursor, goes
    Erase,      // at most one run of characters goes, nothing comes in
    Unchanged,  // the text stays as it was
    Enter,      // the focus moves on to the unit list
    Tab,        // the focus moves to another control
};

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    std::u16string_view text;
    Effect effect;
};

using enum Effect;
constexpr auto None = Qt::NoModifier;
constexpr auto Shift = Qt::ShiftModifier;
constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Alt = Qt::AltModifier;
constexpr auto Keypad = Qt::KeypadModifier;

// Keys as the keyboard delivers them: code, modifiers and the text typed.
const Key Keys[] = {
    {Qt::Key_0, None, u"0", Insert},
    {Qt::Key_1, None, u"1", Insert},
    {Qt::Key_2, None, u"2", Insert},
    {Qt::Key_3, None, u"3", Insert},
    {Qt::Key_4, None, u"4", Insert},
    {Qt::Key_5, None, u"5", Insert},
    {Qt::Key_6, None, u"6", Insert},
    {Qt::Key_7, None, u"7", Insert},
    {Qt::Key_8, None, u"8", Insert},
    {Qt::Key_9, None, u"9", Insert},
    {Qt::Key_Period, None, u".", Insert},
    {Qt::Key_7, Keypad, u"7", Insert},
    {Qt::Key_Period, Keypad, u".", Insert},
    {Qt::Key_A, None, u"a", Unchanged},
    {Qt::Key_E, None, u"e", Unchanged},
    {Qt::Key_E, Shift, u"E", Unchanged},
    {Qt::Key_Minus, None, u"-", Unchanged},
    {Qt::Key_Plus, Shift, u"+", Unchanged},
    {Qt::Key_Comma, None, u",", Unchanged},
    {Qt::Key_Space, None, u" ", Unchanged},
    {Qt::Key_Slash, None, u"/", Unchanged},
    {Qt::Key_Percent, Shift, u"%", Unchanged},
    {Qt::Key_Ampersand, Shift, u"&", Unchanged},
    {Qt::Key_Ccedilla, None, u"ç", Unchanged},
    {Qt::Key_Eacute, None, u"é", Unchanged},
    {Qt::Key_Atilde, Shift, u"Ã", Unchanged},
    {Qt::Key_twosuperior, None, u"²", Unchanged},
    {Qt::Key_onehalf, None, u"½", Unchanged},
    {Qt::Key_nobreakspace, None, u"\u00a0", Unchanged},
    {Qt::Key_unknown, None, u"\u0660", Unchanged},  // ARABIC-INDIC DIGIT ZERO
    {Qt::Key_unknown, None, u"\u0130", Unchanged},  // 0x130: '0' plus 256
    {Qt::Key_unknown, None, u"€", Unchanged},
    {Qt::Key_unknown, None, u"中", Unchanged},
    {Qt::Key_unknown, None, u"😀", Unchanged},
    {Qt::Key_unknown, None, std::u16string_view(u"\0", 1), Unchanged},
    {Qt::Key_Backspace, None, u"\b", Backspace},
    {Qt::Key_Backspace, Ctrl, u"", Unchanged},  // 127
    {Qt::Key_Delete, None, u"\x7f", Erase},
    {Qt::Key_Delete, Ctrl, u"", Erase},
    {Qt::Key_Delete, Shift, u"", Erase},
    {Qt::Key_H, Ctrl, u"\b", Erase},
    {Qt::Key_Return, None, u"\r", Enter},
    {Qt::Key_Enter, Keypad, u"\r", Enter},
    {Qt::Key_M, Ctrl, u"\r", Enter},
    {Qt::Key_Tab, None, u"\t", Tab},
    {Qt::Key_Backtab, Shift, u"", Tab},
    {Qt::Key_Left, None, u"", Unchanged},
    {Qt::Key_Right, None, u"", Unchanged},
    {Qt::Key_Home, None, u"", Unchanged},
    {Qt::Key_End, None, u"", Unchanged},
    {Qt::Key_Left, Shift, u"", Unchanged},
    {Qt::Key_Home, Shift, u"", Unchanged},
    {Qt::Key_Up, None, u"", Unchanged},
    {Qt::Key_Down, None, u"", Unchanged},
    {Qt::Key_PageUp, None, u"", Unchanged},
    {Qt::Key_Escape, None, u"\x1b", Unchanged},
    {Qt::Key_Insert, None, u"", Unchanged},
    {Qt::Key_F1, None, u"", Unchanged},
    {Qt::Key_V, Ctrl, u"\x16", Unchanged},
    {Qt::Key_Insert, Shift, u"", Unchanged},
    {Qt::Key_C, Ctrl, u"\x03", Unchanged},
    {Qt::Key_X, Ctrl, u"\x18", Unchanged},
    {Qt::Key_Z, Ctrl, u"\x1a", Unchanged},
    {Qt::Key_Y, Ctrl, u"\x19", Unchanged},
    {Qt::Key_Z, Ctrl | Shift, u"\x1a", Unchanged},
    {Qt::Key_A, Ctrl, u"\x01", Unchanged},
    {Qt::Key_J, Ctrl, u"\n", Unchanged},
    {Qt::Key_Return, Ctrl, u"\r", Unchanged},  // 10
    {Qt::Key_BracketLeft, Ctrl, u"\x1b", Unchanged},
    {Qt::Key_Space, Ctrl, u" ", Unchanged},
    {Qt::Key_2, Ctrl, u"2", Unchanged},  // no code, and no character
    {Qt::Key_U, Ctrl, u"\x15", Unchanged},
    {Qt::Key_A, Alt, u"a", Unchanged},
    {Qt::Key_1, None, u"1a", Insert},  // a key whose text holds two characters
};

// Keys a user holds down: those that press a button, and one of each kind
// of edit.
const Key HeldKeys[] = {
    {Qt::Key_Return, None, u"\r", Enter},        {Qt::Key_Enter, Keypad, u"\r", Enter},
    {Qt::Key_Space, None, u" ", Unchanged},      {Qt::Key_5, None, u"5", Insert},
    {Qt::Key_Backspace, None, u"\b", Backspace}, {Qt::Key_A, None, u"a", Unchanged},
};

// Texts an input method commits: a dead key's accent on a letter, the
// accent alone or before a digit, digits, and strings of its own.
const char16_t* const CommittedTexts[] = {u"é", u"ç", u"ñ", u"ü", u"´", u"~", u"´7", u"12", u"7é.5", u"中文", u"😀"};

// Numbers a user types into a box, a few of them refused by the ranges.
const char* const TypedNumbers[] = {"1",   "5",    "30",  "1000", "10000", "170", "20", "50",    "100",
                                    "0.5", "33.3", "2.5", "12.5", "1.2.3", "0",   "",   "20000", "101"};

// Numbers that all three entries accept; the last is stored as exactly 1.
const char* const AcceptedEntries[] = {"1", "5", "30", "50", "100", "2.5", "12.5", "33.3", "0.99999999"};

// What the clipboard may hold when a box's context menu pastes it.
const char* const ClipboardTexts[] = {"x1,5",  "1e3",   " 12 ",         "-5",
                                      "7.5.5", "1e999", "\xef\xbc\x99", "99999999999999999999999999999999999999999",
                                      "&H10",  "3\t0",  "pés"};

// Keys that press a focused button, and open a focused pick list.
bool PressesAButton(const Key& k)
{
    return k.key == Qt::Key_Space || k.key == Qt::Key_Return || k.key == Qt::Key_Enter;
}

bool OpensAList(const Key& k)
{
    return k.key == Qt::Key_Space;
}

QString KeyText(const Key& k)
{
    return QString::fromUtf16(k.text.data(), static_cast<qsizetype>(k.text.size()));
}

bool IsNumberCharacter(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'.';
}

// What a key with this text puts into a number box: its digits and full
// stops, each as if typed on its own.
QString NumberCharacters(const QString& text)
{
    QString kept;
    for (QChar c : text) {
        if (IsNumberCharacter(c)) kept += c;
    }
    return kept;
}

std::string Describe(const Key& k)
{
    std::string text;
    for (char16_t c : k.text) {
        text += c >= 0x20 && c < 0x7f ? std::string(1, static_cast<char>(c))
                                      : QString::asprintf("\\u%04X", static_cast<unsigned>(c)).toStdString();
    }
    return QKeySequence(QKeyCombination(k.modifiers, k.key)).toString().toStdString() + " typing \"" + text + "\"";
}

// True when after is before with at most one run of characters taken out.
bool OneRunErased(const QString& before, const QString& after)
{
    if (after.size() > before.size()) return false;
    qsizetype same = 0;
    while (same < after.size() && before[same] == after[same]) ++same;
    return before.endsWith(after.mid(same));
}

// What the storms did, over all sequences.
struct Totals {
    long sequences = 0, actions = 0, calculations = 0, refusals = 0, prints = 0, printFailures = 0, clears = 0,
         clicksWhileClearing = 0;
};

// The window and its controls as a click on one of the buttons found them.
struct Snapshot {
    QPushButton* button;
    std::string entries[3];
    std::string choices[4];
    CalcState state;
    QString result;
    bool limparEnabled, imprimirEnabled;
    std::size_t messages, prints, calcularClicks, successes, edits;
};

// One storm sequence: a window, the model of what it must show, and the
// record of the actions run so far.
struct Storm {
    std::mt19937 random;
    std::unique_ptr<Form1> form;
    MessageRecorder recorder;
    std::vector<Message>& messages = recorder.messages;
    std::vector<CalcState> printed;
    std::string separator = QLocale::system().decimalPoint().toStdString();
    std::vector<std::string> actions;
    Totals* totals = nullptr;

    // The model.
    bool printerMissing = false;
    bool computedSinceClear = false;
    QString result;
    // The record of the last successful calculation, which "Imprimir" prints.
    CalcState lastCalculated;
    std::size_t expectedMessages = 0;
    std::size_t expectedPrints = 0;
    std::size_t calcularClicks = 0;
    std::size_t successes = 0;  // of "Calcular"
    std::size_t edits = 0;      // of a number box by a key or a paste
    std::size_t clicks = 0;     // handled by the window, on any button
    bool closeRequested = false;
    int arrivalsPending = 0;
    std::vector<Snapshot> clicksInProgress;
    // The characters each number box may hold: those typed through its key
    // filter and those pasted into it.
    QString allowed[3] = {"0123456789.", "0123456789.", "0123456789."};

    int Pick(int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); }
    static constexpr Control Boxes[] = {Control::Text1, Control::Text2, Control::Text3};
    static constexpr Control Lists[] = {Control::Combo1, Control::Combo2, Control::Combo3, Control::Combo4};
    QLineEdit* Box(int i) const { return static_cast<QLineEdit*>(form->Window().Widget(Boxes[i])); }
    QComboBox* List(int i) const { return static_cast<QComboBox*>(form->Window().Widget(Lists[i])); }
    bool Clearing() const
    {
        for (const Snapshot& s : clicksInProgress)
            if (s.button == form->Window().Command2) return true;
        return false;
    }
};

Snapshot TakeSnapshot(const Storm& storm, QPushButton* button)
{
    Snapshot s{button,
               {},
               {},
               storm.form->State(),
               storm.form->Window().Text4->text(),
               storm.form->Window().Command2->isEnabled(),
               storm.form->Window().Command3->isEnabled(),
               storm.messages.size(),
               storm.printed.size(),
               storm.calcularClicks,
               storm.successes,
               storm.edits};
    for (int i = 0; i < 3; ++i) s.entries[i] = GetText(storm.form->Window(), Storm::Boxes[i]);
    for (int i = 0; i < 4; ++i) s.choices[i] = GetText(storm.form->Window(), Storm::Lists[i]);
    return s;
}

void ExpectOneMessage(const Storm& storm, const Snapshot& before, const std::string& text)
{
    ASSERT_EQ(storm.messages.size(), before.messages + 1);
    EXPECT_EQ(storm.messages.back().text, text);
    EXPECT_EQ(storm.messages.back().title, ErrorTitle);
}

void ExpectResultAndButtonsKept(const Storm& storm, const Snapshot& before)
{
    EXPECT_EQ(storm.form->Window().Text4->text(), before.result);
    EXPECT_EQ(storm.form->Window().Command2->isEnabled(), before.limparEnabled);
    EXPECT_EQ(storm.form->Window().Command3->isEnabled(), before.imprimirEnabled);
}

// "Calcular": the entries are read and tested in order, then the lists;
// the result comes from the same calculation run on the same inputs.
void CheckCalcular(Storm& storm, const Snapshot& before)
{
    ++storm.calcularClicks;
    CalcState expected = before.state;
    float* stored[] = {&expected.sngTargetSize, &expected.sngDistance, &expected.sngScreenPercent};
    const float highest[] = {10000, 10000, 100};
    for (int i = 0; i < 3; ++i) {
        *stored[i] = static_cast<float>(ParseNumber(before.entries[i]));
        if (!(*stored[i] >= 1 && *stored[i] <= highest[i])) {
            SCOPED_TRACE("refused entry " + std::to_string(i + 1));
            ++storm.expectedMessages;
            ++storm.totals->refusals;
            ExpectOneMessage(storm, before, i < 2 ? DimensionMessage : PercentMessage);
            EXPECT_EQ(storm.Box(i)->text(), "");
            EXPECT_EQ(QApplication::focusWidget(), storm.Box(i));
            EXPECT_EQ(storm.form->State(), expected);
            ExpectResultAndButtonsKept(storm, before);
            return;
        }
    }
    for (const std::string& choice : before.choices) {
        if (choice.empty()) {  // only while the window is being cleared
            EXPECT_TRUE(storm.Clearing());
            ++storm.expectedMessages;
            ++storm.totals->refusals;
            ASSERT_EQ(storm.messages.size(), before.messages + 1);
            EXPECT_EQ(storm.messages.back().title, ErrorTitle);
            ExpectResultAndButtonsKept(storm, before);
            return;
        }
    }
    expected.strCameraFormat = before.choices[0];
    expected.strTargetUnit = before.choices[1];
    expected.strDimensionKind = before.choices[2];
    expected.strDistanceUnit = before.choices[3];
    LookUpFactors(expected);
    ComputeFocalLength(expected);  // accepted entries keep the arithmetic in range

    EXPECT_EQ(storm.messages.size(), before.messages);
    EXPECT_EQ(storm.form->State(), expected);
    storm.result = QString::fromStdString(NumberToText(expected.sngFocalLengthShown, storm.separator));
    EXPECT_EQ(storm.form->Window().Text4->text().toStdString(),
              NumberToText(storm.form->State().sngFocalLengthShown, storm.separator));
    EXPECT_EQ(storm.form->Window().Text4->text(), storm.result);
    EXPECT_TRUE(storm.form->Window().Command2->isEnabled());
    EXPECT_TRUE(storm.form->Window().Command3->isEnabled());
    storm.computedSinceClear = true;
    storm.lastCalculated = expected;
    ++storm.successes;
    ++storm.totals->calculations;
}

// "Limpar": the start-up texts and choices, the two buttons disabled, and
// the entries, factors and results of the record as they were. Keys and
// clicks handled in the middle of the clear may leave text in the boxes
// that had been blanked before they came.
void CheckLimpar(Storm& storm, const Snapshot& before)
{
    const Form1& form = *storm.form;
    if (storm.edits == before.edits) {
        EXPECT_EQ(form.Window().Text1->text(), "");
        EXPECT_EQ(form.Window().Text2->text(), "");
    }
    EXPECT_EQ(form.Window().Text3->text(), "100");
    if (storm.successes == before.successes || form.Window().Text4->text() != storm.result) {
        EXPECT_EQ(form.Window().Text4->text(), "");
    }
    const char* defaults[] = {"1/3", "metros", "Largura", "metros"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(GetText(storm.form->Window(), Storm::Lists[i]), defaults[i]);
    EXPECT_FALSE(form.Window().Command2->isEnabled());
    EXPECT_FALSE(form.Window().Command3->isEnabled());
    // A "Calcular" run in the middle of the clear stores entries and results
    // of its own; otherwise the record keeps them.
    CalcState expected = storm.calcularClicks == before.calcularClicks ? before.state : form.State();
    expected.strCameraFormat = "1/3";
    expected.strTargetUnit = "metros";
    expected.strDimensionKind = "Largura";
    expected.strDistanceUnit = "metros";
    expected.sngScreenPercent = 100;
    EXPECT_EQ(form.State(), expected);
    storm.computedSinceClear = false;
    storm.result = form.Window().Text4->text();
    ++storm.totals->clears;
    // A close asked for while clearing waits for the clear.
    EXPECT_EQ(form.Window().isVisible(), !storm.closeRequested);
    if (form.Window().isVisible()) {
        EXPECT_EQ(QApplication::focusWidget(), form.Window().Text3);  // where it is at start-up
    }
}

void CheckImprimir(Storm& storm, const Snapshot& before)
{
    if (storm.printerMissing) {
        ++storm.expectedMessages;
        ++storm.totals->printFailures;
        ExpectOneMessage(storm, before, NoPrinterMessage);
        EXPECT_EQ(storm.printed.size(), before.prints);
    } else {
        ++storm.expectedPrints;
        ++storm.totals->prints;
        EXPECT_EQ(storm.messages.size(), before.messages);
        ASSERT_EQ(storm.printed.size(), before.prints + 1);
        EXPECT_EQ(storm.printed.back(), storm.lastCalculated);
    }
    EXPECT_EQ(storm.form->State(), before.state);
    ExpectResultAndButtonsKept(storm, before);
}

void CheckNothingChanged(Storm& storm, const Snapshot& before)
{
    EXPECT_EQ(storm.messages.size(), before.messages);
    EXPECT_EQ(storm.form->State(), before.state);
    ExpectResultAndButtonsKept(storm, before);
    EXPECT_TRUE(storm.form->Window().isVisible());
}

void CheckClick(Storm& storm)
{
    ASSERT_FALSE(storm.clicksInProgress.empty());
    const Snapshot before = storm.clicksInProgress.back();
    storm.clicksInProgress.pop_back();
    SCOPED_TRACE("click on " + before.button->text().toStdString());
    const Form1& form = *storm.form;
    ++storm.clicks;
    storm.totals->clicksWhileClearing += storm.Clearing() ? 1 : 0;
    if (before.button == form.Window().Command1) {
        CheckCalcular(storm, before);
    } else if (before.button == form.Window().Command2 && storm.Clearing()) {
        CheckNothingChanged(storm, before);  // the running clear ends as another would
    } else if (before.button == form.Window().Command2) {
        CheckLimpar(storm, before);
    } else if (before.button == form.Window().Command3) {
        CheckImprimir(storm, before);
    } else if (before.button == form.Window().Command5) {
        CheckNothingChanged(storm, before);
    } else {  // "Fechar"
        storm.closeRequested = true;
        EXPECT_EQ(form.Window().isVisible(), storm.Clearing());
    }
}

// What the window shows between actions.
void CheckWindow(const Storm& storm)
{
    const Form1& form = *storm.form;
    ASSERT_TRUE(form.Window().isVisible());
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(form.Window().isAncestorOf(focus)) << focus->objectName().toStdString();
    EXPECT_NE(focus, form.Window().Text4);
    EXPECT_FALSE(form.Window().Text4->isEnabled());
    EXPECT_EQ(form.Window().Command2->isEnabled(), storm.computedSinceClear);
    EXPECT_EQ(form.Window().Command3->isEnabled(), storm.computedSinceClear);
    EXPECT_EQ(form.Window().Text4->text(), storm.result);
    for (int i = 0; i < 3; ++i) {
        for (QChar c : storm.Box(i)->text()) {
            EXPECT_TRUE(storm.allowed[i].contains(c)) << storm.Box(i)->text().toStdString();
        }
    }
    const std::vector<QString>* items[] = {&FormatItems, &UnitItems, &KindItems, &UnitItems};
    const std::string* chosen[] = {&form.State().strCameraFormat, &form.State().strTargetUnit,
                                   &form.State().strDimensionKind, &form.State().strDistanceUnit};
    for (int i = 0; i < 4; ++i) {
        QComboBox* list = storm.List(i);
        std::vector<QString> listed;
        for (int item = 0; item < list->count(); ++item) listed.push_back(list->itemText(item));
        EXPECT_EQ(listed, *items[i]);
        EXPECT_GE(list->currentIndex(), 0);
        EXPECT_NE(std::find(items[i]->begin(), items[i]->end(), QString::fromStdString(*chosen[i])), items[i]->end());
    }
    EXPECT_EQ(storm.messages.size(), storm.expectedMessages);
    EXPECT_EQ(storm.printed.size(), storm.expectedPrints);
}

// The key as the focused control gets it: Space would open a focused pick
// list, so the key moves in the list instead; a press of "Fechar" would end
// the storm, which "Fechar" does last, so Tab moves on instead.
Key KeyForTheFocus(const Storm& storm, const QWidget* focus, const Key& key)
{
    if (qobject_cast<const QComboBox*>(focus) && OpensAList(key)) {
        return {Qt::Key_Down, None, u"", Unchanged};
    }
    if (focus == storm.form->Window().Command4 && PressesAButton(key)) {
        return {Qt::Key_Tab, None, u"\t", Tab};
    }
    return key;
}

// Presses a key into whatever has the focus, through the window, once or
// held down through its repeats; in a number box each repeat is a key of its
// own. Returns what it pressed where.
std::string PressKey(Storm& storm, Key key, int repeats)
{
    QWidget* focus = QApplication::focusWidget();
    key = KeyForTheFocus(storm, focus, key);
    const std::string pressed = Describe(key) + " into " + focus->objectName().toStdString();
    auto* box = qobject_cast<QLineEdit*>(focus);
    const QString before = box ? box->text() : QString();
    const qsizetype from = box ? (box->hasSelectedText() ? box->selectionStart() : box->cursorPosition()) : 0;
    const qsizetype selected = box ? box->selectedText().size() : 0;

    HoldKey(storm.form->Window().windowHandle(), key.key, key.modifiers, KeyText(key), repeats);

    if (box == nullptr) return pressed;
    const QString after = box->text();
    QWidget* const focusAfter = QApplication::focusWidget();
    const int presses = repeats + 1;
    switch (key.effect) {
    case Insert:
        EXPECT_EQ(after, QString(before).replace(from, selected, NumberCharacters(KeyText(key)).repeated(presses)));
        break;
    case Backspace: {
        // The first press takes the selection if there is one.
        QString expected = QString(before).remove(from, selected);
        const qsizetype gone = std::min<qsizetype>(selected > 0 ? presses - 1 : presses, from);
        EXPECT_EQ(after, expected.remove(from - gone, gone));
        break;
    }
    case Erase:
        EXPECT_TRUE(OneRunErased(before, after)) << before.toStdString() << " -> " << after.toStdString();
        break;
    case Unchanged:
        EXPECT_EQ(after, before);
        EXPECT_EQ(focusAfter, box);
        break;
    case Enter:  // repeats go to the unit list, which takes no Enter
        EXPECT_EQ(after, before);
        EXPECT_EQ(focusAfter, box == storm.form->Window().Text1 ? static_cast<QWidget*>(storm.form->Window().Combo2)
                                                                : static_cast<QWidget*>(storm.form->Window().Combo4));
        break;
    case Tab:
        EXPECT_EQ(after, before);
        EXPECT_NE(focusAfter, box);
        break;
    }
    return pressed;
}

std::string TypeKey(Storm& storm, const Key& key)
{
    return PressKey(storm, key, 0);
}

// Clicks into a number box, selects its text and types number over it.
void TypeNumber(Storm& storm, QLineEdit* box, std::string_view number)
{
    QTest::mouseClick(box, Qt::LeftButton);
    TypeKey(storm, {Qt::Key_End, None, u"", Unchanged});
    TypeKey(storm, {Qt::Key_Home, Shift, u"", Unchanged});
    TypeKey(storm, {Qt::Key_Backspace, None, u"\b", Backspace});
    for (char c : number) {
        const char16_t text[] = {static_cast<char16_t>(c), 0};
        TypeKey(storm, {c == '.' ? Qt::Key_Period : static_cast<Qt::Key>(Qt::Key_0 + (c - '0')), None, text, Insert});
    }
    EXPECT_EQ(box->text().toStdString(), number);
}

void TypeANumber(Storm& storm)
{
    QLineEdit* box = storm.Box(storm.Pick(3));
    const std::string_view number = TypedNumbers[storm.Pick(std::size(TypedNumbers))];
    storm.actions.push_back("type \"" + std::string(number) + "\" into " + box->objectName().toStdString());
    TypeNumber(storm, box, number);
}

// Types an accepted number into each of the three boxes.
void FillTheEntries(Storm& storm)
{
    std::string description = "fill the entries with";
    for (int i = 0; i < 3; ++i) {
        const std::string_view number = AcceptedEntries[storm.Pick(std::size(AcceptedEntries))];
        description += " \"" + std::string(number) + "\"";
        TypeNumber(storm, storm.Box(i), number);
    }
    storm.actions.push_back(description);
}

// Pastes the clipboard into a number box through its context menu: no key
// goes through the filter, so the box takes whatever the clipboard holds.
void PasteFromTheMenu(Storm& storm)
{
    const int i = storm.Pick(3);
    QLineEdit* box = storm.Box(i);
    const QString clipboard = QString::fromUtf8(ClipboardTexts[storm.Pick(std::size(ClipboardTexts))]);
    storm.actions.push_back("paste \"" + clipboard.toStdString() + "\" into " + box->objectName().toStdString() +
                            " from its context menu");
    QApplication::clipboard()->setText(clipboard);
    const QPoint at(box->width() / 2, box->height() / 2);
    QTest::mouseClick(box, Qt::RightButton, Qt::NoModifier, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, box->mapToGlobal(at));
    QApplication::sendEvent(box, &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, Qt::Key_P);  // the menu's access key for "&Paste"
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    // The offscreen platform leaves no window active once a popup closes; a
    // window manager gives the activation back to the window.
    storm.form->Window().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&storm.form->Window()));
    EXPECT_EQ(QApplication::focusWidget(), box);
    storm.allowed[i] += clipboard;
}

void QueueKey(QWidget* target, const Key& key)
{
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key.key, key.modifiers, KeyText(key)));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key.key, key.modifiers, KeyText(key)));
}

// Runs arrive, which posts the events of a user action, either now or once
// events have been processed round more times: the user acts at some moment
// of a handler that lets pending events run. Events posted while events are
// processed wait for the next round.
void Arrive(Storm& storm, int round, std::function<void()> arrive)
{
    if (round < 0) {
        arrive();
        return;
    }
    ++storm.arrivalsPending;
    QMetaObject::invokeMethod(
        qApp,
        [&storm, round, arrive = std::move(arrive)] {
            --storm.arrivalsPending;
            Arrive(storm, round - 1, arrive);
        },
        Qt::QueuedConnection);
}

// "Limpar" with clicks, keys and, when closing, a close last, each queued
// before the click or arriving at some round of the event processing that
// ClearAllControls lets through after each control.
void LimparWithEventsQueued(Storm& storm, bool closing)
{
    const int rounds = static_cast<int>(Controls(storm.form->Window()).size());
    std::string description = "Limpar with";
    QPushButton* const buttons[] = {storm.form->Window().Command1, storm.form->Window().Command2,
                                    storm.form->Window().Command3, storm.form->Window().Command5};
    int latest = -1;
    for (int i = storm.Pick(6); i > 0; --i) {
        const int round = storm.Pick(rounds + 1) - 1;  // -1: queued before the click
        latest = std::max(latest, round);
        const std::string when = round < 0 ? " queued;" : " at round " + std::to_string(round) + ";";
        if (storm.Pick(2) == 0) {
            QPushButton* button = buttons[storm.Pick(4)];
            Arrive(storm, round, [button] { QueueClick(button); });
            description += " click " + button->text().toStdString() + when;
        } else {
            const Key& key = Keys[storm.Pick(std::size(Keys))];
            QLineEdit* box = storm.Box(storm.Pick(3));
            Arrive(storm, round, [box, &key] { QueueKey(box, key); });
            description += " " + Describe(key) + " into " + box->objectName().toStdString() + when;
        }
    }
    if (closing) {
        const int round = latest + storm.Pick(rounds + 1 - latest);
        if (storm.Pick(2) == 0) {
            Arrive(storm, round, [&storm] { QueueClick(storm.form->Window().Command4); });
            description += " click Fechar";
        } else {
            Arrive(storm, round, [&storm] {
                QMetaObject::invokeMethod(
                    &storm.form->Window(),
                    [&storm] {
                        storm.closeRequested = true;
                        storm.form->Window().close();
                    },
                    Qt::QueuedConnection);
            });
            description += " close box";
        }
        description += round < 0 ? " queued" : " at round " + std::to_string(round);
    }
    storm.actions.push_back(description);
    QTest::mouseClick(storm.form->Window().Command2, Qt::LeftButton);
}

void ClickButton(Storm& storm, QPushButton* button)
{
    storm.actions.push_back("click " + button->text().toStdString() + (button->isEnabled() ? "" : " (disabled)"));
    QTest::mouseClick(button, Qt::LeftButton);
}

void TypeAnyKey(Storm& storm)
{
    storm.actions.push_back(TypeKey(storm, Keys[storm.Pick(std::size(Keys))]));
}

// Holds a key down wherever the focus is, its repeats marked as the platform
// marks them: a focused button is pressed once, however long the key is
// held.
void HoldAKey(Storm& storm)
{
    const Key& key = HeldKeys[storm.Pick(std::size(HeldKeys))];
    const int repeats = storm.Pick(40);
    const QWidget* focus = QApplication::focusWidget();
    const bool pressesTheButton =
        qobject_cast<const QPushButton*>(focus) && PressesAButton(KeyForTheFocus(storm, focus, key));
    const std::size_t clicks = storm.clicks;
    storm.actions.push_back("hold " + PressKey(storm, key, repeats) + " through " + std::to_string(repeats) +
                            " repeats");
    EXPECT_EQ(storm.clicks - clicks, pressesTheButton ? 1u : 0u);
}

// Commits a text into the focused number box, or into one the user clicks
// into first, as an input method does (the compose context of dead keys, for
// one): only its digits and full stops go in, over the selection.
void CommitFromAnInputMethod(Storm& storm)
{
    auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (box == nullptr) {
        box = storm.Box(storm.Pick(3));
        QTest::mouseClick(box, Qt::LeftButton);
    }
    const QString text = QString::fromUtf16(CommittedTexts[storm.Pick(std::size(CommittedTexts))]);
    storm.actions.push_back("commit \"" + text.toStdString() + "\" into " + box->objectName().toStdString() +
                            " from an input method");
    const QString before = box->text();
    const qsizetype from = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
    const qsizetype selected = box->selectedText().size();
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
    const QString kept = NumberCharacters(text);
    EXPECT_EQ(box->text(), kept.isEmpty() ? before : QString(before).replace(from, selected, kept));
    EXPECT_EQ(QApplication::focusWidget(), box);
}

// A click into a number box, or into the result box, which takes no focus.
void ClickIntoABox(Storm& storm)
{
    QLineEdit* box = storm.Pick(8) == 0 ? storm.form->Window().Text4 : storm.Box(storm.Pick(3));
    const QPoint at(1 + storm.Pick(box->width() - 2), box->height() / 2);
    storm.actions.push_back("click into " + box->objectName().toStdString() + " at " + std::to_string(at.x()));
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(QApplication::focusWidget() == box, box != storm.form->Window().Text4);
}

void PickAListItem(Storm& storm)
{
    QComboBox* list = storm.List(storm.Pick(4));
    const int index = storm.Pick(list->count());
    storm.actions.push_back("pick item " + std::to_string(index) + " of " + list->objectName().toStdString());
    list->setFocus(Qt::MouseFocusReason);
    list->setCurrentIndex(index);
}

void ClickCalcular(Storm& storm)
{
    ClickButton(storm, storm.form->Window().Command1);
}

void ClickImprimir(Storm& storm)
{
    ClickButton(storm, storm.form->Window().Command3);
}

void ClickAjuda(Storm& storm)
{
    ClickButton(storm, storm.form->Window().Command5);
}

void ClickLimpar(Storm& storm)
{
    ClickButton(storm, storm.form->Window().Command2);
}

void LimparWithEventsQueuedIfEnabled(Storm& storm)
{
    if (storm.form->Window().Command2->isEnabled()) {
        LimparWithEventsQueued(storm, false);
    } else {
        ClickCalcular(storm);
    }
}

void SwapThePrinter(Storm& storm)
{
    storm.printerMissing = !storm.printerMissing;
    storm.actions.push_back(storm.printerMissing ? "printer removed" : "printer installed");
}

// The actions other than the closing one, with how often each comes.
const struct {
    int weight;
    void (*run)(Storm&);
} Actions[] = {
    {6, TypeAnyKey},
    {2, HoldAKey},
    {2, ClickIntoABox},
    {1, PickAListItem},
    {2, TypeANumber},
    {1, FillTheEntries},
    {1, PasteFromTheMenu},
    {1, CommitFromAnInputMethod},
    {3, ClickCalcular},
    {1, ClickImprimir},
    {1, ClickAjuda},
    {1, ClickLimpar},
    {2, LimparWithEventsQueuedIfEnabled},
    {1, SwapThePrinter},
};

void RunAction(Storm& storm)
{
    int total = 0;
    for (const auto& action : Actions) total += action.weight;
    int pick = storm.Pick(total);
    for (const auto& action : Actions) {
        if (pick < action.weight) {
            action.run(storm);
            return;
        }
        pick -= action.weight;
    }
}

// The last action: "Fechar", the close box, or "Limpar" with a close queued
// behind it. The program must end.
void RunClosingAction(Storm& storm)
{
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    const int way = storm.Pick(storm.form->Window().Command2->isEnabled() ? 3 : 2);
    QTimer::singleShot(0, [&storm, way] {
        if (way == 0) {
            ClickButton(storm, storm.form->Window().Command4);
        } else if (way == 1) {
            storm.actions.push_back("close box");
            storm.closeRequested = true;
            storm.form->Window().close();
        } else {
            LimparWithEventsQueued(storm, true);
        }
    });
    QTimer guard;  // ends a loop that the close failed to end
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(60000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(lastClosed.count(), 1);
    EXPECT_FALSE(storm.form->Window().isVisible());
    EXPECT_TRUE(storm.clicksInProgress.empty());
    EXPECT_EQ(storm.arrivalsPending, 0);
}

std::string ActionList(const Storm& storm)
{
    std::string list;
    for (std::size_t i = 0; i < storm.actions.size(); ++i) {
        list += "  " + std::to_string(i + 1) + ". " + storm.actions[i] + "\n";
    }
    return list;
}

// Runs one sequence; false when it failed.
bool RunSequence(unsigned seed, int actions, Totals& totals)
{
    Storm storm;
    storm.random.seed(seed);
    storm.totals = &totals;
    storm.form = std::make_unique<Form1>(
        [&storm](const CalcState& state) {
            if (storm.printerMissing) throw std::runtime_error(NoPrinterMessage);
            storm.printed.push_back(state);
        },
        storm.recorder.Action());
    for (QPushButton* button :
         {storm.form->Window().Command1, storm.form->Window().Command2, storm.form->Window().Command3,
          storm.form->Window().Command4, storm.form->Window().Command5}) {
        // released comes just before clicked, which the window handles first.
        QObject::connect(button, &QPushButton::released,
                         [&storm, button] { storm.clicksInProgress.push_back(TakeSnapshot(storm, button)); });
        QObject::connect(button, &QPushButton::clicked, [&storm] { CheckClick(storm); });
    }
    for (QLineEdit* box : {storm.form->Window().Text1, storm.form->Window().Text2, storm.form->Window().Text3}) {
        QObject::connect(box, &QLineEdit::textEdited, [&storm] { ++storm.edits; });
    }
    storm.form->Window().show();
    QApplication::setActiveWindow(&storm.form->Window());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&storm.form->Window()));
    // Pasting with the keyboard would bring letters in: a number box
    // refuses those keys.
    QApplication::clipboard()->setText("x1,5");

    for (int i = 0; i + 1 < actions && !testing::Test::HasFailure(); ++i) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", action " + std::to_string(i + 1));
        RunAction(storm);
        ++totals.actions;
        while (storm.arrivalsPending > 0) QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (!testing::Test::HasFailure()) CheckWindow(storm);
    }
    if (!testing::Test::HasFailure()) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", closing action");
        RunClosingAction(storm);
        ++totals.actions;
    }
    ++totals.sequences;
    storm.form.reset();
    const bool failed = testing::Test::HasFailure();
    if (failed || qEnvironmentVariableIsSet("ORVANTA_STORM_SEED")) {
        std::cout << "Storm seed " << seed << (failed ? " failed" : "") << " after these actions:\n"
                  << ActionList(storm) << "Replay with ORVANTA_STORM_SEED=" << seed << "\n";
    }
    return !failed;
}

// The offscreen platform says that it cannot raise a popup or grab the
// keyboard each time a context menu opens, hundreds of times a storm.
QtMessageHandler forwardMessage = nullptr;

void DropPopupNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.startsWith("This plugin does not support")) forwardMessage(type, context, message);
}

TEST(Storm, SeededActionSequencesKeepTheWindowConsistent)
{
    forwardMessage = qInstallMessageHandler(DropPopupNotes);
    const int actions = EnvironmentNumber("ORVANTA_STORM_ACTIONS", 50);
    ASSERT_GE(actions, 1);
    Totals totals;
    if (qEnvironmentVariableIsSet("ORVANTA_STORM_SEED")) {
        RunSequence(static_cast<unsigned>(EnvironmentNumber("ORVANTA_STORM_SEED", 0)), actions, totals);
    } else {
        const int sequences = EnvironmentNumber("ORVANTA_STORM_SEQUENCES", 100);
        const int firstSeed = EnvironmentNumber("ORVANTA_STORM_FIRST_SEED", 1);
        ASSERT_GE(sequences, 1);
        for (int i = 0; i < sequences; ++i) {
            if (!RunSequence(static_cast<unsigned>(firstSeed + i), actions, totals)) break;
        }
    }
    std::cout << "Storm: " << totals.sequences << " sequences, " << totals.actions << " actions, "
              << totals.calculations << " results, " << totals.refusals << " refusals, " << totals.prints << " pages, "
              << totals.printFailures << " print failures, " << totals.clears << " clears, "
              << totals.clicksWhileClearing << " clicks handled while clearing\n";
    qInstallMessageHandler(forwardMessage);
}

}  // namespace
