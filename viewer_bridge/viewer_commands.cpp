#include "viewer_bridge/viewer_commands.h"

#include "viewer_bridge/mode_keywords.h"

#include <array>

namespace folivex {
namespace {

namespace member = component_member;

enum class OnError { PassOn, Ignore };

// Numbers and Booleans go by reference to the wrapper's own parameter; a mode keyword goes by
// value. The overloads are what keeps each wrapper below a single line.
ComponentArg Arg(std::int32_t& value) {
    return ComponentArg::Long(value);
}
ComponentArg Arg(float& value) {
    return ComponentArg::Single(value);
}
ComponentArg Arg(AutoBool& value) {
    return ComponentArg::Bool(value);
}
ComponentArg Arg(std::wstring& keyword) {
    return ComponentArg::StringByValue(keyword);
}

template <class... Values>
HResult Call(ViewerComponent& component, int dispid, OnError onError, Values&... values) {
    const std::array<ComponentArg, sizeof...(Values)> args{Arg(values)...};
    const HResult hr = component.Invoke(dispid, args);
    return onError == OnError::Ignore ? kOk : hr;
}

template <class... Values>
HResult Forward(ViewerComponent& component, int dispid, Values&... values) {
    return Call(component, dispid, OnError::PassOn, values...);
}

} // namespace

HResult GotoFirstPage(ViewerComponent& component) {
    return Forward(component, member::kGotoFirstPage);
}

HResult GotoLastPage(ViewerComponent& component) {
    return Forward(component, member::kGotoLastPage);
}

HResult GotoNextPage(ViewerComponent& component) {
    return Forward(component, member::kGotoNextPage);
}

HResult GotoPreviousPage(ViewerComponent& component) {
    return Forward(component, member::kGotoPreviousPage);
}

HResult SetCurrentPage(ViewerComponent& component, std::int32_t lngPage) {
    return Forward(component, member::kSetCurrentPage, lngPage);
}

HResult GotoNextView(ViewerComponent& component) {
    return Forward(component, member::kGoForwardStack);
}

HResult GotoPreviousView(ViewerComponent& component) {
    return Forward(component, member::kGoBackwardStack);
}

HResult SetPageMode(ViewerComponent& component, std::int32_t lngPageMode) {
    std::wstring keyword = PageModeKeyword(lngPageMode);
    return Forward(component, member::kSetPageMode, keyword);
}

HResult SetLayoutMode(ViewerComponent& component, std::int32_t lngLayoutMode) {
    std::wstring keyword = LayoutModeKeyword(lngLayoutMode);
    return Forward(component, member::kSetLayoutMode, keyword);
}

HResult SetNamedDest(ViewerComponent& component, const std::wstring& strNamedDest) {
    // By reference, but to a copy: whatever the component writes back stays here.
    std::wstring copy = strNamedDest;
    const std::array<ComponentArg, 1> args{ComponentArg::StringByRef(copy)};
    return component.Invoke(member::kSetNamedDest, args);
}

HResult PrintWithDialog(ViewerComponent& component) {
    return Forward(component, member::kPrintWithDialog);
}

HResult SetZoom(ViewerComponent& component, float sngPercent) {
    return Call(component, member::kSetZoom, OnError::Ignore, sngPercent);
}

HResult SetZoomScroll(ViewerComponent& component, float sngPercent, float sngLeft, float sngTop) {
    return Call(component, member::kSetZoomScroll, OnError::Ignore, sngPercent, sngLeft, sngTop);
}

HResult SetView(ViewerComponent& component, std::int32_t lngViewMode) {
    std::wstring keyword = ViewModeKeyword(lngViewMode);
    return Forward(component, member::kSetView, keyword);
}

HResult SetViewScroll(ViewerComponent& component, std::int32_t lngViewMode, float sngOffset) {
    std::wstring keyword = ViewModeKeyword(lngViewMode);
    return Forward(component, member::kSetViewScroll, keyword, sngOffset);
}

HResult SetViewRect(ViewerComponent& component, float sngLeft, float sngTop, float sngWidth,
                    float sngHeight) {
    return Forward(component, member::kSetViewRect, sngLeft, sngTop, sngWidth, sngHeight);
}

HResult PrintPages(ViewerComponent& component, std::int32_t lngFrom, std::int32_t lngTo) {
    return Forward(component, member::kPrintPages, lngFrom, lngTo);
}

HResult PrintPagesFit(ViewerComponent& component, std::int32_t lngFrom, std::int32_t lngTo,
                      AutoBool blnShrinkToFit) {
    return Forward(component, member::kPrintPagesFit, lngFrom, lngTo, blnShrinkToFit);
}

HResult PrintAll(ViewerComponent& component) {
    return Forward(component, member::kPrintAll);
}

HResult PrintAllFit(ViewerComponent& component, AutoBool blnShrinkToFit) {
    return Forward(component, member::kPrintAllFit, blnShrinkToFit);
}

HResult ShowScrollBars(ViewerComponent& component, AutoBool blnShow) {
    return Forward(component, member::kShowScrollbars, blnShow);
}

HResult SetCurrentHighlight(ViewerComponent& component, std::int32_t lngLeft, std::int32_t lngTop,
                            std::int32_t lngRight, std::int32_t lngBottom) {
    return Forward(component, member::kSetCurrentHighlight, lngLeft, lngTop, lngRight, lngBottom);
}

HResult PrintPDF(ViewerComponent& component) {
    return component.Print();
}

HResult Refresh(ControlSurface& surface) {
    surface.RepaintNow();
    return kOk;
}

} // namespace folivex
