// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>
#include <vector>

#include "calc/calc_state.h"
#include "window/toolkit.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Prints the report of a calculation; throws std::exception with a message
// for the user when printing fails.
using PrintAction = std::function<void(const CalcState&)>;

// Shows an error message (text, title) over the window and returns when the
// user has closed it.
using MessageAction = std::function<void(QWidget* owner, std::string_view text, std::string_view title)>;

// The program's one window: the lens calculator.
class Form1 : public QWidget {
public:
    // The real message box unless a test records the messages instead.
    explicit Form1(PrintAction printReport, MessageAction showMessage = MsgBox);

    // The record of the last calculation, which the printed report reads.
    const CalcState& State() const { return state_; }

    // Blanks every text box and pick list of frmForm, letting pending events
    // run after each control, then restores this window's defaults.
    void ClearAllControls(QWidget* frmForm);

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10, *Label11;
    QLineEdit *Text1, *Text2, *Text3, *Text4;
    QComboBox *Combo1, *Combo2, *Combo3, *Combo4;
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void NameForScreenReaders();
    void Form_Load();
    void CentreWindow();
    bool Window_Event(QObject* window, QEvent* event);
    bool NumberBox_Event(QLineEdit* box, QEvent* event);
    void NumberBox_TypeKeys(QLineEdit* box, const std::vector<int>& codes);
    int KeyPress(const QLineEdit* box, int code);
    int Text1_KeyPress(int code);
    int Text2_KeyPress(int code);
    int Text3_KeyPress(int code);
    int NumberBox_KeyPress(int code, QWidget* nextOnEnter);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void SetDefaults();
    void ShowError(const char* message);
    bool RefuseOutOfRange(QLineEdit* box, float value, float lowest, float highest, const char* message);

    CalcState state_;
    PrintAction printReport_;
    MessageAction showMessage_;
    // ClearAllControls lets queued events run: a "Limpar" that arrives then
    // starts no clear of its own, and a close waits until the clear is over.
    bool clearing_ = false;
    bool unloadPending_ = false;
    // The window is centred again, frame and all, when it is first mapped.
    bool centredInFrame_ = false;
    KeyHistory keyHistory_;
};
