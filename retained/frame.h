// A frame: IDirect3DRMFrame2, with IDirect3DRMFrame, IDirect3DRMVisual,
// IDirect3DRMObject and IUnknown on the same pointer and count. The frames
// hold no visuals and place nothing: a parent holds its children, a child
// does not hold its parent, and SetPosition is accepted.
#pragma once

#include "retained/com_object.h"
#include "retained/stub_bases.h"

namespace retained {

class Frame final : public ComObject, public Counted<Frame, IDirect3DRMFrame2Stub> {
public:
    static const GUID kClassId;

    // A new frame under `parent` (none for a root), counted once for the
    // caller and once more by the parent. Null when memory is short.
    static IDirect3DRMFrame2* Make(IDirect3DRM* owner, Frame* parent);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE SetPosition(IDirect3DRMFrame* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) override;

    Frame(IDirect3DRM* owner, Frame* parent);
    ~Frame() override;

private:
    IDirect3DRM* owner_;               // counted
    Frame* parent_;                    // not counted; cleared when the parent goes
    Frame* firstChild_ = nullptr;      // each child counted once by this frame
    Frame* nextSibling_ = nullptr;
};

}  // namespace retained
