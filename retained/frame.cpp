#include "retained/frame.h"

namespace retained {

IDirect3DRMFrame2* Frame::Make(IDirect3DRM* owner, Frame* parent) {
    IDirect3DRMFrame2* frame = MakeCounted<Frame, IDirect3DRMFrame2Stub>(owner, parent);
    if (!frame) owner->Release();  // nothing holds the Retained Mode object for it
    return frame;
}

Frame::Frame(IDirect3DRM* owner, Frame* parent) : owner_(owner), parent_(parent) {
    if (!parent) return;
    AddRef();  // the parent's reference
    nextSibling_ = parent->firstChild_;
    parent->firstChild_ = this;
}

Frame::~Frame() {
    // A child may outlive this frame through its caller's reference: it then
    // has no parent.
    for (Frame* child = firstChild_; child;) {
        Frame* next = child->nextSibling_;
        child->parent_ = nullptr;
        child->nextSibling_ = nullptr;
        child->Release();
        child = next;
    }
    owner_->Release();
}

HRESULT STDMETHODCALLTYPE Frame::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == kClassId) {
        *out = this;
    } else if (iid == IID_IUnknown || iid == IID_IDirect3DRMObject || iid == IID_IDirect3DRMVisual ||
               iid == IID_IDirect3DRMFrame || iid == IID_IDirect3DRMFrame2) {
        *out = Share();
    } else {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return S_OK;
}

// Frames carry nothing that is drawn, so a position changes no picture; the
// reference must still be a frame.
HRESULT STDMETHODCALLTYPE Frame::SetPosition(IDirect3DRMFrame* reference, D3DVALUE, D3DVALUE, D3DVALUE) {
    if (reference && !OwnObject<Frame>(reference)) return D3DRMERR_BADOBJECT;
    return D3DRM_OK;
}

}  // namespace retained
