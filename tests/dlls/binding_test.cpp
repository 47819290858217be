// The run-time binding against real libraries: each case runs binding_probe
// in a folder holding the chosen "d3drm.dll" and "ddraw.dll" (or none), as a
// child process, so every case starts with nothing loaded. Under Wine the
// probe is set to load the two names from native files only, so Wine's own
// libraries never stand in.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path, n);
    return p.substr(0, p.find_last_of("\\/") + 1);
}

// Wine takes its own ddraw.dll before one beside the program unless told
// otherwise; the override applies to binding_probe.exe alone.
void ForceNativeLibrariesUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\binding_probe.exe\\DllOverrides", 0, nullptr,
                        0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot set Wine's library overrides";
        return;
    }
    for (const char* name : {"d3drm", "ddraw"}) RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
    RegCloseKey(key);
}

// Runs the probe of folder `name` with `args`; returns its exit code.
DWORD RunCase(const std::string& name, const std::string& args) {
    static bool once = (ForceNativeLibrariesUnderWine(), true);
    (void)once;
    std::string folder = ProgramFolder() + "binding\\" + name;
    std::string exe = folder + "\\binding_probe.exe";
    std::string command = "\"" + exe + "\" " + args;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        ADD_FAILURE() << "cannot start " << exe << " (" << GetLastError() << ")";
        return 0xFFFFFFFF;
    }
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST(Binding, BothLibrariesCompleteGiveZeroAndASecondCallLoadsNothing) { EXPECT_EQ(RunCase("ok", "0"), 0u); }

TEST(Binding, MissingD3drmGivesOneAndLeavesBothHandlesNull) {
    EXPECT_EQ(RunCase("no_d3drm", "1"), 0u);
    EXPECT_EQ(RunCase("no_d3drm", "1 ddraw-first"), 0u);  // ddraw.dll loaded before is freed too
}

TEST(Binding, MissingDdrawGivesTwoAndFreesD3drm) { EXPECT_EQ(RunCase("no_ddraw", "2"), 0u); }

TEST(Binding, EachMissingExportHasItsCodeAndBothLibrariesStay) {
    for (int code = 3; code <= 9; ++code)
        EXPECT_EQ(RunCase("miss" + std::to_string(code), std::to_string(code) + " " + std::to_string(code)), 0u)
            << "code " << code;
}

TEST(Binding, TheLastMissingExportWins) { EXPECT_EQ(RunCase("miss7_9", "9 7,9"), 0u); }

}  // namespace
