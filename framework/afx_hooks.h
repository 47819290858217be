// Points where the program meets the outside world and tests stand in:
// the debugger output, the framework's message box, the process exit and the
// system metrics (a test lays out monitors that the machine does not have).
// Production code calls the Afx... functions below; tests replace the
// hooks (and put them back) to record or to avoid a modal box or an exit.
#pragma once

namespace afx_hooks {
using DebugOutputFn = void (*)(const char* text);
using MessageBoxFn = int (*)(const char* text, unsigned type, unsigned helpId);
using ExitFn = void (*)(int code);
using SystemMetricFn = int (*)(int index);

extern DebugOutputFn debugOutput;   // default: OutputDebugStringA
extern MessageBoxFn messageBox;     // default: the framework's standard box
extern ExitFn exitProcess;          // default: std::exit
extern SystemMetricFn systemMetric;  // default: GetSystemMetrics
}  // namespace afx_hooks

// One line to the debugger output.
void AfxOutputDebugString(const char* text);

// Ends the process through the runtime's exit (exit handlers and static
// destructors run). A test hook must not return; if it does, the process aborts.
[[noreturn]] void AfxExitProcess(int code);

// The framework's standard message box (through afx_hooks::messageBox): type 0
// is a box with an OK button. text is in code page 932.
int AfxMessageBox(const char* text, unsigned type = 0, unsigned helpId = 0);
