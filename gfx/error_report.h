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
// No DirectX interface is released first. During a tentative set-up it throws
// NvxSetUpFailure instead, with the text left in fatalText.
[[noreturn]] void NvxFatalError(const char* text);

// A message of the layer's own (a set-up step that failed and returns 0):
// the framework's message box with an OK button; during a tentative set-up
// only kept in g_deviceState.fatalText.
void NvxShowMessage(const char* text);

// A set-up after a size change, a display change or lost surfaces may meet
// the display in the middle of a change (a mode switch, a driver reset, a
// remote session taking over), which fails a call that works a moment later.
// While an NvxTentativeSetUp lives, a failing call ends the set-up instead of
// the process: the fatal path throws NvxSetUpFailure, and the layer's own
// messages are not shown. Whoever opens one catches the failure, releases
// what the set-up made and tries again later. Scopes may nest.
struct NvxSetUpFailure {};

class NvxTentativeSetUp {
public:
    NvxTentativeSetUp();
    ~NvxTentativeSetUp();
    NvxTentativeSetUp(const NvxTentativeSetUp&) = delete;
    NvxTentativeSetUp& operator=(const NvxTentativeSetUp&) = delete;
};

bool NvxSetUpIsTentative();
