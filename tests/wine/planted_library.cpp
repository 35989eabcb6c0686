// SPDX-License-Identifier: GPL-3.0-or-later
// A DLL planted beside the program under a system DLL's name: when loaded,
// it leaves the file "planted-library-ran" in its folder, which the test
// that planted it looks for.
#include <windows.h>

#include <cwchar>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 32];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    wchar_t* name = std::wcsrchr(path, L'\\');
    if (length == 0 || length >= MAX_PATH || name == nullptr) return TRUE;
    std::wcscpy(name + 1, L"planted-library-ran");
    const HANDLE mark = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
    return TRUE;
}
