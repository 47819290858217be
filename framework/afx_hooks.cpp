#include "framework/afx_hooks.h"

#include <windows.h>

#include <cstdlib>

int AfxDefaultMessageBox(const char* text, unsigned type, unsigned helpId);

namespace {
void DefaultDebugOutput(const char* text) { OutputDebugStringA(text); }
void DefaultExit(int code) { std::exit(code); }
int DefaultSystemMetric(int index) { return GetSystemMetrics(index); }
}  // namespace

namespace afx_hooks {
DebugOutputFn debugOutput = DefaultDebugOutput;
MessageBoxFn messageBox = AfxDefaultMessageBox;
ExitFn exitProcess = DefaultExit;
SystemMetricFn systemMetric = DefaultSystemMetric;
}  // namespace afx_hooks

void AfxOutputDebugString(const char* text) { afx_hooks::debugOutput(text); }

void AfxExitProcess(int code) {
    afx_hooks::exitProcess(code);
    std::abort();
}
