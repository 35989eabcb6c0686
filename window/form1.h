// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string_view>

#include "calc/calc_state.h"
#include "window/toolkit.h"

// Prints the report of a calculation; throws std::exception with a message
// for the user when printing fails.
using PrintAction = std::function<void(const CalcState&)>;

// Shows an error message (text, title) over the window and returns when the
// user has closed it.
using MessageAction = std::function<void(FormWindow& owner, std::string_view text, std::string_view title)>;

// The program's one window: the lens calculator. Its behaviour is written
// here on the controls of window/layout.h; the toolkit draws them and
// delivers their events.
class Form1 {
public:
    // The real message box unless a test records the messages instead.
    explicit Form1(PrintAction printReport, MessageAction showMessage = MsgBox);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The record of the last calculation read, refusals included.
    const CalcState& State() const { return state_; }

    FormWindow& Window() { return *window_; }
    const FormWindow& Window() const { return *window_; }
    void Show() { ShowForm(*window_); }

    // Blanks every text box and pick list of frmForm, letting pending events
    // run after each control, then restores this window's defaults.
    void ClearAllControls(FormWindow& frmForm);

private:
    void Form_Load();
    void CentreWindow();
    void SetDefaults();
    int KeyPress(Control box, int code);
    int Text1_KeyPress(int code);
    int Text2_KeyPress(int code);
    int Text3_KeyPress(int code);
    int NumberBox_KeyPress(int code, Control nextOnEnter);
    void Click(Control button);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    bool Form_QueryUnload();
    void UnloadIfPending();
    void ShowError(std::string_view message);
    bool RefuseOutOfRange(Control box, float value, float lowest, float highest, const char* message);

    CalcState state_;
    // The record as the last successful "Calcular" left it: the page prints
    // the inputs of the result it shows, whatever a later refusal stored.
    CalcState calculated_;
    PrintAction printReport_;
    MessageAction showMessage_;
    // ClearAllControls lets queued events run: a "Limpar" that arrives then
    // starts no clear of its own, and a close waits until the clear is over.
    bool clearing_ = false;
    // So may a print (a printer's own dialog): a second "Imprimir" or a
    // "Limpar" that arrives then does nothing, and a close waits for it.
    bool printing_ = false;
    bool unloadPending_ = false;
    FormWindowPointer window_;
};
