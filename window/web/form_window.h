// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window in the browser: the page's own controls (markup.h), driven
// from form_window.js. A click waits in the event queue until the program's
// event loop, DoEvents or a test runs it; a key press is answered at once.

#include <cstddef>
#include <functional>

#include "window/toolkit.h"

struct FormWindow {
    int handle;  // the page's number for the form
    FormEvents events;
    bool loaded = true;
};

// Runs queued events, waiting for more, until no window is left.
void RunEventLoop();

// Queues call behind the events already queued.
void QueueCall(const std::function<void()>& call);

// Runs the events queued so far, and those they queue, to completion.
void RunQueuedEvents();

// How many events wait; runs those queued after the first count of them, as
// the desktop runs an input event at once ahead of the queued ones.
std::size_t QueuedEventCount();
void RunEventsQueuedAfter(std::size_t count);
