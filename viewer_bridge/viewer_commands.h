#pragma once
// The navigation, view and print commands: each forwards one call to the viewer component and
// keeps no state. Numbers are not validated and no document needs to be open; the component
// decides what a call means.
//
// Every wrapper returns the HResult its public method hands to the host. Most pass the
// component's failure on unchanged (its error information stays set for the thread); SetZoom,
// SetZoomScroll and Refresh always succeed.

#include "viewer_bridge/viewer_component.h"

#include "common/portable_types.h"

#include <cstdint>
#include <string>

namespace folivex {

// The control's own surface, which Refresh repaints at once.
class ControlSurface {
public:
    virtual ~ControlSurface() = default;
    virtual void RepaintNow() = 0;
};

HResult GotoFirstPage(ViewerComponent& component);
HResult GotoLastPage(ViewerComponent& component);
HResult GotoNextPage(ViewerComponent& component);
HResult GotoPreviousPage(ViewerComponent& component);
HResult SetCurrentPage(ViewerComponent& component, std::int32_t lngPage);
HResult GotoNextView(ViewerComponent& component);
HResult GotoPreviousView(ViewerComponent& component);
// The mode arguments are the public enum values (PageMode, LayoutMode, ViewMode).
HResult SetPageMode(ViewerComponent& component, std::int32_t lngPageMode);
HResult SetLayoutMode(ViewerComponent& component, std::int32_t lngLayoutMode);
HResult SetNamedDest(ViewerComponent& component, const std::wstring& strNamedDest);
HResult PrintWithDialog(ViewerComponent& component);
HResult SetZoom(ViewerComponent& component, float sngPercent);
HResult SetZoomScroll(ViewerComponent& component, float sngPercent, float sngLeft, float sngTop);
HResult SetView(ViewerComponent& component, std::int32_t lngViewMode);
HResult SetViewScroll(ViewerComponent& component, std::int32_t lngViewMode, float sngOffset);
HResult SetViewRect(ViewerComponent& component, float sngLeft, float sngTop, float sngWidth,
                    float sngHeight);
HResult PrintPages(ViewerComponent& component, std::int32_t lngFrom, std::int32_t lngTo);
HResult PrintPagesFit(ViewerComponent& component, std::int32_t lngFrom, std::int32_t lngTo,
                      AutoBool blnShrinkToFit);
HResult PrintAll(ViewerComponent& component);
HResult PrintAllFit(ViewerComponent& component, AutoBool blnShrinkToFit);
HResult ShowScrollBars(ViewerComponent& component, AutoBool blnShow = kAutoTrue);
HResult SetCurrentHighlight(ViewerComponent& component, std::int32_t lngLeft, std::int32_t lngTop,
                            std::int32_t lngRight, std::int32_t lngBottom);
// The platform's generic print request, not a numbered member.
HResult PrintPDF(ViewerComponent& component);
// Repaints the control; the component is not called.
HResult Refresh(ControlSurface& surface);

} // namespace folivex
