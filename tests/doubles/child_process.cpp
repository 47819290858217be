#include "tests/doubles/child_process.h"

namespace dxd {

ChildRun RunChild(const std::string& programName, const std::string& arguments, DWORD timeoutMs) {
    char path[MAX_PATH];
    std::string exe(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    exe = exe.substr(0, exe.find_last_of("\\/") + 1) + programName;
    ChildRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string command = "\"" + exe + "\" " + arguments;
    PROCESS_INFORMATION process{};
    // Wine now and then fails to start a process before any of its code runs
    // ("failed to map the shared user data": another mapping took the fixed
    // address); a second or third try starts it.
    for (int attempt = 0; attempt < 3 && !run.started; ++attempt) {
        run.started = CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                     &startup, &process) != FALSE;
    }
    CloseHandle(writeEnd);
    if (!run.started) {
        CloseHandle(readEnd);
        return run;
    }
    // Read while waiting, so a full pipe cannot stall the child, and give up
    // on a child that hangs.
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD available = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available) {
            char buffer[4096];
            DWORD n = 0;
            if (!ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) || !n) break;
            run.output.append(buffer, n);
        }
        if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0) {
            run.finished = true;
            break;
        }
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(process.hProcess, 0xDEAD);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }
    }
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n) run.output.append(buffer, n);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(readEnd);
    return run;
}

}  // namespace dxd
