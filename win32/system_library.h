// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The DLLs that the program loads when it first needs them, rather than
// importing them at start-up: each from the system folder only. A DLL
// loaded by a bare name is looked for in the program's own folder first,
// where anyone who can write there (a portable copy in Downloads) could
// plant one of the same name.

#include <windows.h>

// The system DLL name, loaded from the system folder; nullptr when it is
// not there.
HMODULE LoadSystemLibrary(const wchar_t* name);

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
