// The members on the component's windows: the toolbar and navigation bar, the readouts taken off
// the component's toolbar, and the closing of stand-alone viewer applications.

#include "control/win32_viewer.h"

#include "control/win32_reader_windows_part.h"
#include "control/win32_viewer_surface.h"
#include "reader_windows/readouts.h"
#include "viewer_bridge/win32_component_host.h"

#include <string>

namespace folivex {

HRESULT Viewer::ShowToolbar(VARIANT_BOOL blnShow, VARIANT_BOOL blnCloseToolbar) {
    return readerWindows_->ShowToolbar(blnShow, blnCloseToolbar, *component_, *surface_);
}

HRESULT Viewer::EnableToolbar() {
    readerWindows_->EnableToolbar();
    return S_OK;
}

HRESULT Viewer::DisableToolbar() {
    readerWindows_->DisableToolbar();
    return S_OK;
}

HRESULT Viewer::EnableNavigationBar() {
    readerWindows_->EnableNavigationBar();
    return S_OK;
}

HRESULT Viewer::DisableNavigationBar() {
    readerWindows_->DisableNavigationBar();
    return S_OK;
}

HRESULT Viewer::get_Page(LONG* Page) {
    if (!Page) {
        return E_POINTER;
    }
    *Page = readerWindows_->Page(window_.Get());
    return S_OK;
}

HRESULT Viewer::get_ZoomPct(short* ZoomPct) {
    if (!ZoomPct) {
        return E_POINTER;
    }
    *ZoomPct = readerWindows_->ZoomPct(window_.Get());
    return S_OK;
}

HRESULT Viewer::get_PageTotal(LONG* PageTotal) {
    if (!PageTotal) {
        return E_POINTER;
    }
    std::int32_t total = 0;
    const HResult hr = readerWindows_->PageTotal(total);
    if (FAILED(hr)) {
        // As a control built with the host's own runtime reports a failed conversion.
        const std::wstring description(kTypeMismatchDescription);
        return RaiseViewerError(hr, description.c_str());
    }
    *PageTotal = total;
    return S_OK;
}

HRESULT Viewer::CloseAcrobat(VARIANT_BOOL* Result) {
    if (!Result) {
        return E_POINTER;
    }
    *Result = readerWindows_->CloseAcrobat();
    return S_OK;
}

HRESULT Viewer::CloseReader(VARIANT_BOOL* Result) {
    if (!Result) {
        return E_POINTER;
    }
    *Result = readerWindows_->CloseReader();
    return S_OK;
}

} // namespace folivex
