#pragma once
// The embedded PDF viewer component as the portable logic calls it: late-bound calls by member
// number with arguments in declared order. The Win32 side turns each call into
// IDispatch::Invoke; on failure it leaves the component's error information set for the thread
// and returns the component's HRESULT, so a caller that passes the result on hands both to its
// own caller unchanged.

#include "common/portable_types.h"

#include <cstdint>
#include <span>
#include <string>

namespace folivex {

// One argument of a component call.
struct ComponentArg {
    enum class Kind { LongRef, SingleRef, BoolRef, StringValue, StringRef };
    Kind kind;
    void* target; // the caller's variable: int32_t, float, AutoBool or std::wstring

    static ComponentArg Long(std::int32_t& value) { return {Kind::LongRef, &value}; }
    static ComponentArg Single(float& value) { return {Kind::SingleRef, &value}; }
    static ComponentArg Bool(AutoBool& value) { return {Kind::BoolRef, &value}; }
    static ComponentArg StringByValue(std::wstring& value) { return {Kind::StringValue, &value}; }
    // The component may write a new value back; the caller's string receives it.
    static ComponentArg StringByRef(std::wstring& value) { return {Kind::StringRef, &value}; }
};

class ViewerComponent {
public:
    virtual ~ViewerComponent() = default;

    // Calls member `dispid` as a method; any value it returns is ignored.
    virtual HResult Invoke(int dispid, std::span<const ComponentArg> args) = 0;

    // Member 1, the source-file property.
    virtual HResult PutSource(const std::wstring& path) = 0;
    virtual HResult GetSource(std::wstring& path) = 0;

    // The platform's generic print request on the component object (no member number).
    virtual HResult Print() = 0;
};

// Member numbers of the component.
namespace component_member {
inline constexpr int kSource = 1;
inline constexpr int kLoadFile = 2;
inline constexpr int kShowToolbar = 3;
inline constexpr int kGotoFirstPage = 4;
inline constexpr int kGotoLastPage = 5;
inline constexpr int kGotoNextPage = 6;
inline constexpr int kGotoPreviousPage = 7;
inline constexpr int kSetCurrentPage = 8;
inline constexpr int kGoForwardStack = 9;
inline constexpr int kGoBackwardStack = 10;
inline constexpr int kSetPageMode = 11;
inline constexpr int kSetLayoutMode = 12;
inline constexpr int kSetNamedDest = 13;
inline constexpr int kPrintWithDialog = 15;
inline constexpr int kSetZoom = 16;
inline constexpr int kSetZoomScroll = 17;
inline constexpr int kSetView = 18;
inline constexpr int kSetViewScroll = 19;
inline constexpr int kSetViewRect = 20;
inline constexpr int kPrintPages = 21;
inline constexpr int kPrintPagesFit = 22;
inline constexpr int kPrintAll = 23;
inline constexpr int kPrintAllFit = 24;
inline constexpr int kShowScrollbars = 25;
inline constexpr int kSetCurrentHighlight = 28;
} // namespace component_member

} // namespace folivex
