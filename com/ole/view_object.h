#pragma once
// IViewObject and IViewObject2 of com::OleControl: drawing into a container's device context
// and the view's advise sink.

#include "com/com_ptr.h"
#include "com/ole/control_state.h"

#include <ocidl.h>
#include <olectl.h>

namespace folivex::com {

template <typename Derived>
class ViewObjectUnit : public IViewObject2 {
public:
    HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                   LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                   ULONG_PTR) override {
        if (aspect != DVASPECT_CONTENT) {
            return DV_E_DVASPECT;
        }
        if (!dc) {
            return E_INVALIDARG;
        }
        RECT rect = {};
        if (bounds) {
            rect = {bounds->left, bounds->top, bounds->right, bounds->bottom};
        } else if (HWND window = Self()->ControlWindow()) {
            ::GetClientRect(window, &rect);
        }
        Self()->DrawContent(dc, rect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                          LOGPALETTE** colors) override {
        if (colors) {
            *colors = nullptr;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override {
        OleControlState& state = State();
        state.viewAspects = aspects;
        state.viewAdviseFlags = flags;
        state.viewSink = sink;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override {
        const OleControlState& state = State();
        if (aspects) {
            *aspects = state.viewAspects;
        }
        if (flags) {
            *flags = state.viewAdviseFlags;
        }
        if (sink) {
            *sink = state.viewSink.Get();
            if (*sink) {
                (*sink)->AddRef();
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*,
                                        LPSIZEL size) override {
        return State().GetExtent(aspect, size);
    }

protected:
    ~ViewObjectUnit() = default;

    // Tells the container that the picture changed (for containers that draw through the view).
    void NotifyViewChange() {
        const OleControlState& state = State();
        if (state.viewSink && (state.viewAspects & DVASPECT_CONTENT)) {
            state.viewSink->OnViewChange(DVASPECT_CONTENT, -1);
        }
    }

private:
    Derived* Self() { return static_cast<Derived*>(this); }
    OleControlState& State() { return Self()->OleState(); }
};

} // namespace folivex::com
