// The navigation, view and print commands: each hands the component one call and passes its
// result on as the command wrappers decide.

#include "control/win32_viewer.h"

#include "control/win32_viewer_keep_alive.h"
#include "control/win32_viewer_surface.h"
#include "viewer_bridge/viewer_commands.h"
#include "viewer_bridge/win32_component_host.h"

#include "com/bstr.h"

namespace folivex {

HRESULT Viewer::Refresh() {
    return folivex::Refresh(*surface_);
}
HRESULT Viewer::PrintPDF() {
    return folivex::PrintPDF(*component_);
}
HRESULT Viewer::PrintAll() {
    return folivex::PrintAll(*component_);
}
HRESULT Viewer::PrintAllFit(VARIANT_BOOL blnShrinkToFit) {
    return folivex::PrintAllFit(*component_, blnShrinkToFit);
}
HRESULT Viewer::PrintPages(LONG lngFrom, LONG lngTo) {
    return folivex::PrintPages(*component_, lngFrom, lngTo);
}
HRESULT Viewer::PrintPagesFit(LONG lngFrom, LONG lngTo, VARIANT_BOOL blnShrinkToFit) {
    return folivex::PrintPagesFit(*component_, lngFrom, lngTo, blnShrinkToFit);
}
HRESULT Viewer::PrintWithDialog() {
    // The component's dialog is modal: the host's code may run, and release the control, in it.
    KeepAlive hold(*this);
    return folivex::PrintWithDialog(*component_);
}
HRESULT Viewer::GotoFirstPage() {
    return folivex::GotoFirstPage(*component_);
}
HRESULT Viewer::GotoLastPage() {
    return folivex::GotoLastPage(*component_);
}
HRESULT Viewer::GotoNextPage() {
    return folivex::GotoNextPage(*component_);
}
HRESULT Viewer::GotoPreviousPage() {
    return folivex::GotoPreviousPage(*component_);
}
HRESULT Viewer::SetCurrentPage(LONG lngPage) {
    return folivex::SetCurrentPage(*component_, lngPage);
}
HRESULT Viewer::ShowScrollBars(VARIANT_BOOL blnShow) {
    return folivex::ShowScrollBars(*component_, blnShow);
}
HRESULT Viewer::SetZoom(float sngPercent) {
    return folivex::SetZoom(*component_, sngPercent);
}
HRESULT Viewer::SetCurrentHighlight(LONG lngLeft, LONG lngTop, LONG lngRight, LONG lngBottom) {
    return folivex::SetCurrentHighlight(*component_, lngLeft, lngTop, lngRight, lngBottom);
}
HRESULT Viewer::SetLayoutMode(LayoutMode lngLayoutMode) {
    return folivex::SetLayoutMode(*component_, static_cast<std::int32_t>(lngLayoutMode));
}
HRESULT Viewer::SetNamedDest(BSTR strNamedDest) {
    return folivex::SetNamedDest(*component_, com::Bstr::ToString(strNamedDest));
}
HRESULT Viewer::SetPageMode(PageMode lngPageMode) {
    return folivex::SetPageMode(*component_, static_cast<std::int32_t>(lngPageMode));
}
HRESULT Viewer::SetView(ViewMode lngViewMode) {
    return folivex::SetView(*component_, static_cast<std::int32_t>(lngViewMode));
}
HRESULT Viewer::SetViewRect(float sngLeft, float sngTop, float sngWidth, float sngHeight) {
    return folivex::SetViewRect(*component_, sngLeft, sngTop, sngWidth, sngHeight);
}
HRESULT Viewer::SetViewScroll(ViewMode lngViewMode, float sngOffset) {
    return folivex::SetViewScroll(*component_, static_cast<std::int32_t>(lngViewMode), sngOffset);
}
HRESULT Viewer::SetZoomScroll(float sngPercent, float sngLeft, float sngTop) {
    return folivex::SetZoomScroll(*component_, sngPercent, sngLeft, sngTop);
}
HRESULT Viewer::GotoPreviousView() {
    return folivex::GotoPreviousView(*component_);
}
HRESULT Viewer::GotoNextView() {
    return folivex::GotoNextView(*component_);
}

} // namespace folivex
