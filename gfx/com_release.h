// Releasing an interface field that holds one reference: tested for null,
// released once, set to null, so every release step may run again. The
// device record, the texture and the main window's scene objects all let go
// of their interfaces this way.
#pragma once

template <class Interface>
void NvxRelease(Interface*& field) {
    if (field) {
        field->Release();
        field = nullptr;
    }
}
