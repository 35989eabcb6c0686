// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A function of a DLL that the program loads when it first needs it, rather
// than importing it at start-up.

#include <windows.h>

// The function name of library as a pointer of type Function; nullptr when
// the library or the function is missing.
template <class Function>
Function FindFunction(HMODULE library, const char* name)
{
    const FARPROC found = library != nullptr ? GetProcAddress(library, name) : nullptr;
    // Through a function type without parameters: casts between unlike
    // function types warn.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}
