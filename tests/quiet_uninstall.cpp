// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the silent uninstall that Orvanta's Apps & features entry registers,
// as a deployment tool does: the QuietUninstallString of the entry under
// HKLM or HKCU (the argument), the command line as it stands, waited for.
// Exits with its exit code, or 100 when it cannot be run.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 2) return 100;
    const HKEY root = std::strcmp(argv[1], "HKLM") == 0 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    wchar_t command[4096];
    DWORD size = sizeof command;
    if (RegGetValueW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvanta", L"QuietUninstallString",
                     RRF_RT_REG_SZ, nullptr, command, &size) != ERROR_SUCCESS)
        return 100;
    // Its standard handles inherited, as a tool that keeps its output does.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) return 100;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 100;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
