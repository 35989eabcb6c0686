// SPDX-License-Identifier: GPL-3.0-or-later
// What the window tests share: the window's message texts, a recorder of its
// message boxes, clicks queued behind the running handler and how deeply
// clicks nest, held keys, and records shown field by field when they differ.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRect>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_state.h"
#include "tests/window_driver.h"
#include "window/form1.h"

// Posts a click that runs only when events are next processed.
inline void QueueClick(QWidget* button)
{
    const QPointF centre(button->width() / 2.0, button->height() / 2.0);
    const QPointF global = button->mapToGlobal(centre);
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, centre, global, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
}

// Holds a key down on window through the given number of automatic repeats,
// marked as repeats, and lets it go, at the times a user's keys have, which
// do not depend on how long the window takes over each event. With no
// repeats it is a key typed.
inline void HoldKey(QWindow* window, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text, int repeats)
{
    static unsigned long long clock = 1'000'000'000;  // well past the times of Qt Test's key events
    const auto send = [&](QEvent::Type type, bool repeat) {
        QKeyEvent event(type, key, modifiers, text, repeat);
        event.setTimestamp(clock);
        QCoreApplication::sendEvent(window, &event);
        QCoreApplication::processEvents();
    };
    send(QEvent::KeyPress, false);
    clock += 660;  // the usual delay before the first repeat, then 25 a second
    for (int i = 0; i < repeats; ++i, clock += 40) {
        send(QEvent::KeyRelease, true);
        send(QEvent::KeyPress, true);
    }
    send(QEvent::KeyRelease, false);
    clock += 1000;
}

// What is wrong with where the frame stands on the screen, "" when nothing
// is: on each side where it fits it is centred, its margins differing by at
// most a pixel; where it does not, its top-left corner (the title bar) is on
// the screen.
inline std::string MisplacedFrame(const QRect& frame, const QRect& screen)
{
    const struct {
        const char* side;
        int before, after;
        bool fits;
    } sides[] = {
        {"across", frame.left() - screen.left(), screen.right() - frame.right(), frame.width() <= screen.width()},
        {"down", frame.top() - screen.top(), screen.bottom() - frame.bottom(), frame.height() <= screen.height()},
    };
    std::string wrong;
    for (const auto& s : sides) {
        if (s.fits ? std::abs(s.before - s.after) > 1 : s.before != 0) {
            wrong += std::string(s.side) + ": margins " + std::to_string(s.before) + " and " + std::to_string(s.after) +
                     (s.fits ? " " : " (larger than the screen) ");
        }
    }
    return wrong;
}

// Watches how deeply clicks on a button nest while it lives: how many are
// handled at once, and the deepest stack below where it was made. Clicks
// whose handler lets events run are handled inside it.
class ClickNesting {
public:
    explicit ClickNesting(QPushButton* button) : base_(StackAt())
    {
        QObject::connect(button, &QPushButton::released, button, [this] {
            mostHandling_ = std::max(mostHandling_, ++handling_);
            deepest_ = std::max(deepest_, base_ - StackAt());
        });
        // Connected after the window's own handler, so it runs once that ends.
        QObject::connect(button, &QPushButton::clicked, button, [this] { --handling_; });
    }
    ClickNesting(const ClickNesting&) = delete;
    ClickNesting& operator=(const ClickNesting&) = delete;

    bool Handling() const { return handling_ > 0; }
    // Prints the figures and expects the clear plus at most one click it let
    // run at once, on a shallow stack.
    void ExpectBounded() const
    {
        std::cout << "Clicks handled at once: at most " << mostHandling_ << ", " << deepest_ << " bytes of stack\n";
        EXPECT_LE(mostHandling_, 2);
        EXPECT_LT(deepest_, 512u * 1024);
    }

private:
    static std::uintptr_t StackAt() { return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)); }

    std::uintptr_t base_;
    std::uintptr_t deepest_ = 0;
    int handling_ = 0, mostHandling_ = 0;
};

// A record in a failure message, field by field.
inline void PrintTo(const CalcState& s, std::ostream* out)
{
    *out << "{" << s.strCameraFormat << ", " << s.strTargetUnit << ", " << s.strDimensionKind << ", "
         << s.strDistanceUnit << ", percent " << s.sngScreenPercent << ", focal " << s.sngFocalLength << ", sensor "
         << s.sngSensorHeight << ", factors " << s.sngTargetUnitFactor << " " << s.sngDimensionFactor << " "
         << s.sngDistanceUnitFactor << ", target " << s.sngTargetSize << ", distance " << s.sngDistance << ", fraction "
         << s.sngScreenFraction << ", shown " << s.sngFocalLengthShown << "}";
}
