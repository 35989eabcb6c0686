// SPDX-License-Identifier: GPL-3.0-or-later
// The user at the Qt window: Qt Test's mouse and key events, on Qt's
// offscreen platform unless the test runs on another.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

#include "tests/window_driver.h"
#include "tests/window_testing.h"
#include "window/qt/form_window.h"

int RunTestsWithToolkit(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

void ShowAndActivate(Form1& form)
{
    form.Show();
    QApplication::setActiveWindow(&form.Window());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form.Window()));
}

void ClickOn(Form1& form, Control control)
{
    QTest::mouseClick(form.Window().Widget(control), Qt::LeftButton);
}

void TypeCode(Form1& /*form*/, int code)
{
    QWidget* focus = QApplication::focusWidget();
    const struct {
        int code;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {
        {8, Qt::Key_Backspace, Qt::NoModifier},    {13, Qt::Key_Return, Qt::NoModifier},
        {27, Qt::Key_Escape, Qt::NoModifier},      {127, Qt::Key_Backspace, Qt::ControlModifier},
        {10, Qt::Key_Return, Qt::ControlModifier},
    };
    for (const auto& k : keys) {
        if (k.code == code) return QTest::keyClick(focus, k.key, k.modifiers);
    }
    if (code >= 1 && code <= 26) {
        return QTest::keyClick(focus, static_cast<Qt::Key>(Qt::Key_A + code - 1), Qt::ControlModifier);
    }
    QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(QChar(code)), Qt::NoModifier);
}

// The keypad's decimal key under the Brazilian layout, as Qt's X11 and
// Wayland platforms deliver it: KP_Separator, a comma from the keypad.
void TypeKeypadDecimal(Form1& /*form*/)
{
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_Comma, QStringLiteral(","),
                        Qt::KeypadModifier);
}

void CommitText(Form1& /*form*/, const std::string& text)
{
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromStdString(text));
    QApplication::sendEvent(QApplication::focusWidget(), &commit);
}

void PasteWithShiftInsert(Form1& /*form*/, const std::string& text)
{
    QApplication::clipboard()->setText(QString::fromStdString(text));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert, Qt::ShiftModifier);
}

void PressTab(Form1& /*form*/, bool backwards)
{
    QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                    backwards ? Qt::ShiftModifier : Qt::NoModifier);
}

void HoldKey(Form1& form, bool space, int repeats)
{
    HoldKey(form.Window().windowHandle(), space ? Qt::Key_Space : Qt::Key_Return, Qt::NoModifier, space ? " " : "\r",
            repeats);
}

bool Focused(Form1& form, Control& control)
{
    const ControlLayout* layout = form.Window().LayoutOfWidget(QApplication::focusWidget());
    if (layout != nullptr) control = layout->id;
    return layout != nullptr;
}

bool IsEnabled(Form1& form, Control control)
{
    return form.Window().Widget(control)->isEnabled();
}

bool IsShown(Form1& form)
{
    return form.Window().isVisible();
}

std::vector<std::string> ListItems(Form1& form, Control list)
{
    const auto* box = static_cast<QComboBox*>(form.Window().Widget(list));
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i) items.push_back(box->itemText(i).toStdString());
    return items;
}

bool RunsUntilTheProgramEnds(Form1& /*form*/, const std::function<void()>& action)
{
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, action);
    QTimer guard;  // ends a loop that the action failed to end
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(20000);
    return QApplication::exec() == 0 && lastClosed.count() == 1;
}

void PickListItem(Form1& form, Control list, int index)
{
    auto* box = static_cast<QComboBox*>(form.Window().Widget(list));
    box->setFocus(Qt::MouseFocusReason);
    box->setCurrentIndex(index);
}

void PasteFromMenu(Form1& form, Control box, const std::string& text)
{
    auto* edit = static_cast<QLineEdit*>(form.Window().Widget(box));
    QTest::mouseClick(edit, Qt::RightButton);
    QApplication::clipboard()->setText(QString::fromStdString(text));
    // The menu's item for pasting is the one that names the paste shortcut.
    const QString shortcut = '\t' + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
    for (QAction* action : menu->actions()) {
        if (action->text().endsWith(shortcut)) action->trigger();
    }
}

// Runs call from a timer due at once: unlike a posted event, a timer's call
// also runs inside a handler that lets events run, on any event dispatcher,
// as the window system's events do.
void QueueCall(const std::function<void()>& call)
{
    auto* timer = new QTimer(qApp);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, call] {
        call();
        timer->deleteLater();
    });
    timer->start(0);
}

void QueueClick(Form1& form, Control button)
{
    QWidget* widget = form.Window().Widget(button);
    QueueCall([widget] { QTest::mouseClick(widget, Qt::LeftButton); });
}

// The close box: the window system asks the window to close.
void QueueClose(Form1& form)
{
    QWindow* window = form.Window().windowHandle();
    QueueCall([window] {
        QCloseEvent close;
        QCoreApplication::sendEvent(window, &close);
    });
}
