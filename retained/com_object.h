// Reference counting, once for every object of our Retained Mode.
//
// An object derives from ComObject and from one Counted<Object, Interface>
// per interface whose count it keeps apart. Each Counted base answers AddRef
// and Release for its own interface; the object lives while any of them is
// counted. Most objects have one count; the Retained Mode object keeps one
// for IDirect3DRM (shared with IUnknown) and one for IDirect3DRM2, as the
// real component does. Objects the Retained Mode object makes hold a
// reference on its IDirect3DRM interface.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <cstdlib>
#include <new>

namespace retained {

class ComObject {
public:
    // The object's first reference: a new object is handed out counted once
    // on the interface its creator asked for.
    void InterfaceCounted() { ++counted_; }
    void InterfaceReleased() {
        if (--counted_ == 0) delete this;
    }

    // Straight from the C runtime: nothing here needs the C++ library's
    // allocation, or the exception support that comes with it.
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size); }
    static void operator delete(void* object) noexcept { std::free(object); }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

private:
    int counted_ = 0;  // interfaces whose count is not zero
};

template <class Object, class Interface>
class Counted : public Interface {
public:
    ULONG STDMETHODCALLTYPE AddRef() override {
        if (count_++ == 0) static_cast<Object*>(this)->InterfaceCounted();
        return count_;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        if (count_ == 0) return 0;  // released more often than counted: nothing left to free
        const ULONG left = --count_;
        if (left == 0) static_cast<Object*>(this)->InterfaceReleased();  // may delete the object
        return left;
    }

    // This interface, counted once more for a caller.
    Interface* Share() {
        AddRef();
        return this;
    }

private:
    ULONG count_ = 0;
};

// A new object of ours with its first reference on `Interface`, or null when
// memory is short.
template <class Object, class Interface, class... Args>
Interface* MakeCounted(Args&&... args) {
    Object* object = new (std::nothrow) Object(static_cast<Args&&>(args)...);
    if (!object) return nullptr;
    return static_cast<Counted<Object, Interface>*>(object)->Share();
}

// The object of ours behind an interface pointer, or null when the pointer is
// null or the object is another component's. Each of our classes answers its
// own private identifier (Object::kClassId) with a pointer to itself that is
// not counted: the caller already holds the interface it asked through.
template <class Object>
Object* OwnObject(IUnknown* iface) {
    if (!iface) return nullptr;
    void* object = nullptr;
    if (iface->QueryInterface(Object::kClassId, &object) != S_OK) return nullptr;
    return static_cast<Object*>(object);
}

}  // namespace retained
