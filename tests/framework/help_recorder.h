// Stands in for WinHelpA through the framework's hook and keeps the last call.
#pragma once

#include <windows.h>

#include <string>

struct HelpCall {
    int calls = 0;
    HWND owner = nullptr;
    std::string file;
    UINT command = 0;
    ULONG_PTR data = 0;
};

inline HelpCall g_help;

inline BOOL RecordHelp(HWND owner, const char* file, UINT command, ULONG_PTR data) {
    ++g_help.calls;
    g_help.owner = owner;
    g_help.file = file ? file : "";
    g_help.command = command;
    g_help.data = data;
    return TRUE;
}
