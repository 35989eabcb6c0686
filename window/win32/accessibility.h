// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What screen readers hear of the window's boxes and lists: their names and
// the number boxes' ranges, by Dynamic Annotation of each one's standard
// accessible object, given when an accessibility client first asks.

struct FormWindow;

// Watches the named controls for a client's first question, from when the
// window can be seen.
void WatchForScreenReaders(FormWindow& window);

// Annotates every box and list, once, while the window is shown.
void AnnotateForScreenReaders(FormWindow& window);

// Clears the annotations, which outlive their windows otherwise, and lets
// the service go.
void ForgetScreenReaderNames(FormWindow& window);
