// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window in Qt Widgets: a top-level widget with the 24 controls of
// window/layout.h as children, named and reachable as the layout names them.

#include <QWidget>

#include <array>

#include "window/toolkit.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

struct FormWindow : QWidget {
    explicit FormWindow(FormEvents formEvents);

    QWidget* Widget(Control control) const { return controls[static_cast<int>(control)]; }
    // The control a widget is, or nullptr when it is none of the window's.
    const ControlLayout* LayoutOfWidget(const QObject* widget) const;

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10, *Label11;
    QLineEdit *Text1, *Text2, *Text3, *Text4;
    QComboBox *Combo1, *Combo2, *Combo3, *Combo4;
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5;

    std::array<QWidget*, ControlCount> controls{};
    FormEvents events;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls(int top);
    void NameForScreenReaders();
    bool IsHeldButtonKey(const QEvent* event);
    bool NumberBox_Event(QLineEdit* box, Control id, QEvent* event);
    void NumberBox_TypeKeys(QLineEdit* box, Control id, const std::vector<int>& codes);

    // The last press and release of a key that presses buttons.
    struct {
        int key = 0;
        unsigned long long pressedAt = 0, releasedAt = 0;
    } lastKey_;
    // The window is centred again, frame and all, when it is first mapped.
    bool watchingFrame_ = false;
    bool framed_ = false;
};

// Installs Qt's own Brazilian Portuguese texts (the text boxes' context
// menu, the message box's buttons) whatever the user's language, so that the
// toolkit speaks as the rest of the window does. Numbers still follow the
// user's regional settings. False when Qt's translations are not installed:
// the toolkit's texts then stay English. Needs the application object.
bool LoadToolkitTranslations();
