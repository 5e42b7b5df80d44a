// The toolbar and navigation bar members and the readouts taken off the component's toolbar.

#include "control/win32_viewer.h"

#include "control/win32_viewer_parts.h"
#include "reader_windows/readouts.h"
#include "reader_windows/toolbar.h"
#include "viewer_bridge/win32_component_host.h"

#include "common/win32_window_handle.h"

#include <string>

namespace folivex {

HRESULT Viewer::ShowToolbar(VARIANT_BOOL blnShow, VARIANT_BOOL blnCloseToolbar) {
    Parts& parts = *parts_;
    ToolbarTargets targets{*component_, parts.windowActions, parts.surface};
    return folivex::ShowToolbar(blnShow, blnCloseToolbar, targets, parts.state.Captured,
                                parts.state.ReaderVersion, parts.state.ToolbarClosed);
}

HRESULT Viewer::EnableToolbar() {
    folivex::EnableToolbar(parts_->state.Captured, parts_->windowActions);
    return S_OK;
}

HRESULT Viewer::DisableToolbar() {
    folivex::DisableToolbar(parts_->state.Captured, parts_->windowActions);
    return S_OK;
}

HRESULT Viewer::EnableNavigationBar() {
    folivex::EnableNavigationBar(parts_->state.Captured, parts_->windowActions);
    return S_OK;
}

HRESULT Viewer::DisableNavigationBar() {
    folivex::DisableNavigationBar(parts_->state.Captured, parts_->windowActions);
    return S_OK;
}

HRESULT Viewer::get_Page(LONG* Page) {
    if (!Page) {
        return E_POINTER;
    }
    ViewerState& state = parts_->state;
    *Page =
        folivex::Page(parts_->tree, FromHwnd(window_.Get()), state.ReaderVersion, state.LastPage);
    return S_OK;
}

HRESULT Viewer::get_ZoomPct(short* ZoomPct) {
    if (!ZoomPct) {
        return E_POINTER;
    }
    ViewerState& state = parts_->state;
    *ZoomPct = folivex::ZoomPct(parts_->tree, FromHwnd(window_.Get()), state.ReaderVersion,
                                state.LastZoomPct);
    return S_OK;
}

HRESULT Viewer::get_PageTotal(LONG* PageTotal) {
    if (!PageTotal) {
        return E_POINTER;
    }
    std::int32_t total = parts_->state.LastPageTotal;
    const HResult hr =
        folivex::PageTotal(parts_->state.Captured, parts_->state.LastPageTotal, total);
    if (FAILED(hr)) {
        // As a control built with the host's own runtime reports a failed conversion.
        const std::wstring description(kTypeMismatchDescription);
        return RaiseViewerError(hr, description.c_str());
    }
    *PageTotal = total;
    return S_OK;
}

} // namespace folivex
