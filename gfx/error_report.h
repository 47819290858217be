// The layer's fatal path: a failing DirectDraw or retained-mode result code
// becomes a named message in the application's message box, then the process
// ends with exit code 1.
#pragma once

#include <windows.h>

struct NvxErrorName {
    HRESULT code;
    const char* name;  // code page 932
};

// The two code tables, row for row.
extern const NvxErrorName kNvxDDErrorNames[100];
extern const NvxErrorName kNvxRMErrorNames[13];

// The name of a code in its table, or "Unknown Error".
const char* NvxDDErrorName(HRESULT code);
const char* NvxRMErrorName(HRESULT code);

// "DirectDraw Error <name>", then NvxFatalError.
[[noreturn]] void NvxReportDDError(HRESULT code);

// "Direct3D-RM Error : <name>", then NvxFatalError.
[[noreturn]] void NvxReportRMError(HRESULT code);

// Copies text into g_deviceState.fatalText, shows it in the framework's
// message box (MB_OK, no help context) and ends the process with code 1.
// No DirectX interface is released first.
[[noreturn]] void NvxFatalError(const char* text);
