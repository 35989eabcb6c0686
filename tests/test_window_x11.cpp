// SPDX-License-Identifier: GPL-3.0-or-later
// The window on a private X server with real input: tests/x11_session.sh
// starts the server, with openbox and a keyboard layout where CTest asks for
// them, and xdotool types and clicks through the XTEST extension as a
// keyboard and a mouse do. X11 sends its own events: a held key's repeats,
// the compose context's commits, the window manager's frame.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "tests/window_testing.h"
#include "window/form1.h"
#include "window/qt/form_window.h"

namespace {

// Generous bounds: a slow machine is not a fault.
constexpr int Patience = 30000;  // ms

// Runs xdotool with arguments to the end. While it runs the window handles
// events as usual, or, frozen, handles none, as during a long print.
enum class Window { Running, Frozen };
void Xdotool(const QStringList& arguments, Window window = Window::Running)
{
    QProcess xdotool;
    xdotool.setProcessChannelMode(QProcess::ForwardedChannels);
    xdotool.start(QStringLiteral("xdotool"), arguments);
    ASSERT_TRUE(xdotool.waitForStarted(Patience)) << "xdotool did not start";
    if (window == Window::Frozen) {
        ASSERT_TRUE(xdotool.waitForFinished(Patience));
    } else {
        ASSERT_TRUE(QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, Patience));
    }
    ASSERT_EQ(xdotool.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(xdotool.exitCode(), 0) << arguments.join(' ').toStdString();
}

// Counts the presses of a key that reach a window, and notes the release of
// Shift, which the tests press last: X11 delivers events in order, so every
// event before it has been handled by then.
struct KeyWatch : QObject {
    int key = 0;
    int presses = 0;
    bool shiftReleased = false;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched->isWindowType() && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
            const auto* pressed = static_cast<QKeyEvent*>(event);
            presses += event->type() == QEvent::KeyPress && pressed->key() == key;
            shiftReleased |= event->type() == QEvent::KeyRelease && pressed->key() == Qt::Key_Shift;
        }
        return false;
    }
};

class X11Window : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run through tests/x11_session.sh";
        form = std::make_unique<Form1>([this](const CalcState& state) { printed.push_back(state); }, recorder.Action());
        loadPosition = form->Window().pos();
        form->Window().show();
        form->Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form->Window(), Patience));
    }
    // The keyboard goes where the window manager puts the focus.
    void ExpectKeyboardFocus() { ASSERT_TRUE(QTest::qWaitForWindowActive(&form->Window(), Patience)); }
    // Presses keys, then Shift, and waits until the window has handled them all.
    void PressKeys(const QStringList& keys)
    {
        KeyWatch watch;
        qApp->installEventFilter(&watch);
        Xdotool(QStringList{"key", "--delay", "20"} + keys + QStringList{"shift"});
        EXPECT_TRUE(QTest::qWaitFor([&] { return watch.shiftReleased; }, Patience));
        qApp->removeEventFilter(&watch);
    }
    void Calculate()
    {
        form->Window().Text1->setText("6");
        form->Window().Text2->setText("30");
        form->Window().Command1->click();
        ASSERT_EQ(form->Window().Text4->text(), "24");
    }
    // The frame's outer rectangle as the X server has it: the client's
    // position less the frame extents the window manager sets.
    QRect Frame() const
    {
        const QRect client(form->Window().mapToGlobal(QPoint(0, 0)), form->Window().size());
        return client.marginsAdded(form->Window().windowHandle()->frameMargins());
    }

    MessageRecorder recorder;
    std::unique_ptr<Form1> form;
    std::vector<CalcState> printed;
    QPoint loadPosition;
};

// Keys of the Brazilian ABNT2 layout: the dead keys ´ ~ ^ ` ¨ compose
// accented letters, which the compose context commits past the key presses;
// the keypad's decimal key types a comma (KP_Separator), which a number box
// takes as the decimal point; the main keyboard's comma is refused.
TEST_F(X11Window, BrazilianKeysTypeOnlyTheNumber)
{
    ExpectKeyboardFocus();
    for (QLineEdit* box : {form->Window().Text1, form->Window().Text2, form->Window().Text3}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->clear();
        box->setFocus();
        PressKeys({"1", "dead_acute", "e", "dead_tilde", "n", "dead_circumflex", "o", "dead_grave", "a",
                   "dead_diaeresis", "u", "dead_acute", "c", "ccedilla", "dead_acute", "7", "KP_Separator", "5",
                   "comma"});
        EXPECT_EQ(box->text().toStdString(), "17.5");
    }
}

// X11 sends a held key's repeats as releases and presses, unmarked.
TEST_F(X11Window, AHeldKeyPressesTheFocusedButtonOnce)
{
    ExpectKeyboardFocus();
    FormWindow& w = form->Window();
    // "Limpar" puts the focus in the percentage box, where the repeats must
    // do nothing.
    struct Case {
        QPushButton* button;
        const char* key;
        Qt::Key qtKey;
        QWidget* focusAfter;
    } const cases[] = {
        {w.Command3, "Return", Qt::Key_Return, w.Command3}, {w.Command3, "space", Qt::Key_Space, w.Command3},
        {w.Command1, "Return", Qt::Key_Return, w.Command1}, {w.Command1, "space", Qt::Key_Space, w.Command1},
        {w.Command2, "Return", Qt::Key_Return, w.Text3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button->text().toStdString() + " held with " + c.key);
        Calculate();
        c.button->setFocus();
        QSignalSpy clicks(c.button, &QPushButton::clicked);
        const std::size_t pages = printed.size();
        KeyWatch watch;
        watch.key = c.qtKey;
        qApp->installEventFilter(&watch);
        Xdotool({"keydown", c.key, "sleep", "1.5", "keyup", c.key, "key", "shift"});
        EXPECT_TRUE(QTest::qWaitFor([&] { return watch.shiftReleased; }, Patience));
        qApp->removeEventFilter(&watch);
        ASSERT_GT(watch.presses, 5) << "the X server repeated the held key";
        EXPECT_EQ(clicks.count(), 1);
        EXPECT_EQ(printed.size() - pages, c.button == w.Command3 ? 1u : 0u);
        EXPECT_EQ(QApplication::focusWidget(), c.focusAfter);
    }
}

// Clicks that come in while the window is frozen wait in the X queue; the
// clear lets them run after each control.
TEST_F(X11Window, ThousandsOfLimparClicksWhileFrozenStartNoClearInside)
{
    Calculate();
    const ClickNesting nesting(form->Window().Command2);
    const QPoint limpar = form->Window().Command2->mapToGlobal(form->Window().Command2->rect().center());
    Xdotool({"mousemove", QString::number(limpar.x()), QString::number(limpar.y())});
    Xdotool({"click", "--repeat", "10000", "--delay", "0", "1"}, Window::Frozen);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !form->Window().Command2->isEnabled() && !nesting.Handling(); }, Patience));
    nesting.ExpectBounded();
    EXPECT_EQ(form->Window().Text3->text(), "100");
    EXPECT_EQ(form->Window().Combo4->currentText(), "metros");
    EXPECT_TRUE(form->Window().isVisible());
}

// CTest runs this on screens larger and smaller than the window, with and
// without a window manager. Where the frame fits it is centred; where it
// does not, its top-left corner, title bar and all, is on the screen.
// Without a window manager the window stays where the load step put it.
TEST_F(X11Window, FrameIsCentredWhereItFitsWithItsTitleBarOnTheScreen)
{
    const bool managed = qgetenv("ORVANTA_X11_WINDOW_MANAGER") == "openbox";
    const QRect screen = form->Window().screen()->geometry();
    // The window manager reports its frame after mapping the window.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return (!managed || !form->Window().windowHandle()->frameMargins().isNull()) &&
                   MisplacedFrame(Frame(), screen).empty();
        },
        Patience))
        << MisplacedFrame(Frame(), screen) << "on a screen of " << screen.width() << "x" << screen.height();
    if (!managed) {
        EXPECT_EQ(form->Window().pos(), loadPosition);
    }
}

}  // namespace
