// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The decimal separator of the browser's first language: for the window and
// for the printed page, which includes this without the window.

#include <string>

std::string DecimalSeparator();
