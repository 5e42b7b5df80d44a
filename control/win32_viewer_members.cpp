// The members that reach the component directly or describe the control: IsReaderInstalled,
// Source, hwnd, ReaderVersion.

#include "control/win32_viewer.h"

#include "viewer_bridge/win32_component_host.h"

#include "com/bstr.h"

namespace folivex {

HRESULT Viewer::IsReaderInstalled(VARIANT_BOOL* Result) {
    if (!Result) {
        return E_POINTER;
    }
    // Creating the component's class is the test; the instance is released at once.
    *Result = VARIANT_FALSE;
    CLSID clsid;
    if (SUCCEEDED(::CLSIDFromProgID(ComponentHost::kProgId, &clsid))) {
        com::ComPtr<IUnknown> instance;
        if (SUCCEEDED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                         IID_PPV_ARGS(&instance)))) {
            *Result = VARIANT_TRUE;
        }
    }
    return S_OK;
}

HRESULT Viewer::put_Source(BSTR Source) {
    return component_->PutSource(com::Bstr::ToString(Source));
}

HRESULT Viewer::get_Source(BSTR* Source) {
    if (!Source) {
        return E_POINTER;
    }
    *Source = nullptr;
    std::wstring value;
    const HRESULT hr = component_->GetSource(value);
    if (FAILED(hr)) {
        return hr;
    }
    return com::ReturnBstr(Source, value);
}

HRESULT Viewer::get_hwnd(LONG* hwnd) {
    if (!hwnd) {
        return E_POINTER;
    }
    // Window handles fit in 32 bits on 64-bit Windows too.
    *hwnd = static_cast<LONG>(reinterpret_cast<LONG_PTR>(window_.Get()));
    return S_OK;
}

HRESULT Viewer::get_ReaderVersion(short* ReaderVersion) {
    if (!ReaderVersion) {
        return E_POINTER;
    }
    *ReaderVersion = state_.ReaderVersion;
    return S_OK;
}

HRESULT Viewer::put_ReaderVersion(short ReaderVersion) {
    state_.ReaderVersion = ReaderVersion;
    return S_OK;
}

} // namespace folivex
