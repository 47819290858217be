// The fatal path for real: a child process shows the message and ends with
// exit code 1 through the runtime's exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Outcome {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

Outcome RunFatalProbe(const std::string& code) {
    char path[MAX_PATH];
    std::string exe(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    exe = exe.substr(0, exe.find_last_of("\\/") + 1) + "fatal_probe.exe";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    Outcome outcome;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return outcome;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string command = "\"" + exe + "\" " + code;
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                  &process);
    CloseHandle(writeEnd);
    if (started) {
        char buffer[512];
        DWORD n;
        while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n) outcome.output.append(buffer, n);
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &outcome.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        ADD_FAILURE() << "cannot start " << exe;
    }
    CloseHandle(readEnd);
    return outcome;
}

TEST(FatalProcess, ShowsTheMessageThenExitsWithCodeOne) {
    Outcome lost = RunFatalProbe("887601C2");
    EXPECT_EQ(lost.exitCode, 1u);
    EXPECT_EQ(lost.output, "DirectDraw Error DDERR_SURFACELOST|0\n");

    Outcome memory = RunFatalProbe("8876017C");
    EXPECT_EQ(memory.exitCode, 1u);
    EXPECT_EQ(memory.output.substr(0, 17), "DirectDraw Error ");
    EXPECT_EQ(memory.output.substr(17, 4), "\x81\x7c\x83\x72");  // the sentence, in code page 932
}

}  // namespace
