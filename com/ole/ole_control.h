#pragma once
// IOleControl of com::OleControl: no mnemonics, and ambient properties and frozen events change
// nothing, so every call simply succeeds.

#include <ocidl.h>
#include <olectl.h>

namespace folivex::com {

template <typename Derived>
class OleControlUnit : public IOleControl {
public:
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override {
        if (!info) {
            return E_POINTER;
        }
        info->cb = sizeof(CONTROLINFO);
        info->hAccel = nullptr;
        info->cAccel = 0;
        info->dwFlags = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnMnemonic(LPMSG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

protected:
    ~OleControlUnit() = default;
};

} // namespace folivex::com
