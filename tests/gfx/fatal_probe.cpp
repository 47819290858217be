// A program that reports one DirectDraw code through the real fatal path.
// Its message box is replaced by a recorder that prints the text and the
// style on stdout, so no modal box waits; the exit is the real one.
//
//   fatal_probe <code in hexadecimal>
#include "framework/afx_hooks.h"
#include "gfx/error_report.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

namespace {
int PrintBox(const char* text, unsigned type, unsigned) {
    std::printf("%s|%u\n", text, type);
    std::fflush(stdout);
    return 1;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 3;
    _setmode(_fileno(stdout), _O_BINARY);
    afx_hooks::messageBox = PrintBox;
    NvxReportDDError(static_cast<HRESULT>(std::strtoul(argv[1], nullptr, 16)));
}
