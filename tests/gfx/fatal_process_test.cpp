// The fatal path for real: a child process shows the message and ends with
// exit code 1 through the runtime's exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/doubles/child_process.h"

namespace {

dxd::ChildRun RunFatalProbe(const std::string& code) {
    dxd::ChildRun run = dxd::RunChild("fatal_probe.exe", code, 30000);
    EXPECT_TRUE(run.started && run.finished) << "fatal_probe.exe " << code;
    return run;
}

TEST(FatalProcess, ShowsTheMessageThenExitsWithCodeOne) {
    dxd::ChildRun lost = RunFatalProbe("887601C2");
    EXPECT_EQ(lost.exitCode, 1u);
    EXPECT_EQ(lost.output, "DirectDraw Error DDERR_SURFACELOST|0\n");

    dxd::ChildRun memory = RunFatalProbe("8876017C");
    EXPECT_EQ(memory.exitCode, 1u);
    EXPECT_EQ(memory.output.substr(0, 17), "DirectDraw Error ");
    EXPECT_EQ(memory.output.substr(17, 4), "\x81\x7c\x83\x72");  // the sentence, in code page 932
}

}  // namespace
