// Placeholder until the framework layer lands: a plain box.
#include <windows.h>

int AfxDefaultMessageBox(const char* text, unsigned type, unsigned) {
    return MessageBoxA(nullptr, text, "Vorl", type | MB_ICONEXCLAMATION);
}
