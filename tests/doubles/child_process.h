// Runs a test's helper program, found beside the test program, as a child
// process, collecting what it writes to its standard output. For paths that
// end the process for real: the exit code is the one the child ended with.
#pragma once

#include <windows.h>

#include <string>

namespace dxd {

struct ChildRun {
    bool started = false;
    bool finished = false;  // ended within the time limit; a hung child is terminated
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

ChildRun RunChild(const std::string& programName, const std::string& arguments, DWORD timeoutMs);

}  // namespace dxd
