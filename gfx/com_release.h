// Releasing an interface field of the device record: tested for null,
// released once, set to null, so every release step may run again.
#pragma once

template <class Interface>
void NvxRelease(Interface*& field) {
    if (field) {
        field->Release();
        field = nullptr;
    }
}
