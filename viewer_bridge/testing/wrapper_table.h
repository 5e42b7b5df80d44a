#pragma once
// The navigation, view and print wrappers as the component must receive them: for each call a
// host makes, the component member it reaches and the arguments that member gets, in declared
// order. One table for the native tests (the wrapper functions against a recording component)
// and the Wine tests (the control's methods against the stand-in component), each calling the
// wrappers its own way. The numbers are written out rather than taken from the component's
// member constants, so that a wrong constant fails here.

#include "viewer_bridge/viewer_component.h"

#include "common/portable_types.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace folivex::testing {

using WrapperValue = std::variant<std::int32_t, float, AutoBool, std::wstring>;

struct WrapperArg {
    ComponentArg::Kind kind;
    WrapperValue value;
};

struct WrapperCase {
    const char* label;                  // names the case in failure messages
    const char* method;                 // the control's method and the wrapper function
    std::vector<WrapperValue> hostArgs; // what the host passes, in order
    int member;                         // the component member it reaches
    std::vector<WrapperArg> memberArgs; // what that member receives, in order

    // The host's argument `index`, as the type the method takes.
    std::int32_t Long(std::size_t index) const {
        return std::get<std::int32_t>(hostArgs.at(index));
    }
    float Single(std::size_t index) const { return std::get<float>(hostArgs.at(index)); }
    AutoBool Bool(std::size_t index) const { return std::get<AutoBool>(hostArgs.at(index)); }
    const std::wstring& String(std::size_t index) const {
        return std::get<std::wstring>(hostArgs.at(index));
    }
};

// Every wrapper that reaches a numbered member, the mode keywords with their fallbacks for values
// outside the enums, and negative and fractional numbers passed on untouched.
inline std::vector<WrapperCase> WrapperCases() {
    using K = ComponentArg::Kind;
    using L = std::int32_t;
    using S = std::wstring;
    const AutoBool t = kAutoTrue;
    const AutoBool f = kAutoFalse;
    return {
        {"GotoFirstPage", "GotoFirstPage", {}, 4, {}},
        {"GotoLastPage", "GotoLastPage", {}, 5, {}},
        {"GotoNextPage", "GotoNextPage", {}, 6, {}},
        {"GotoPreviousPage", "GotoPreviousPage", {}, 7, {}},
        {"SetCurrentPage", "SetCurrentPage", {L{2}}, 8, {{K::LongRef, L{2}}}},
        {"GotoNextView", "GotoNextView", {}, 9, {}},
        {"GotoPreviousView", "GotoPreviousView", {}, 10, {}},
        {"SetPageMode(2)", "SetPageMode", {L{2}}, 11, {{K::StringValue, S(L"thumbs")}}},
        {"SetPageMode(1)", "SetPageMode", {L{1}}, 11, {{K::StringValue, S(L"bookmarks")}}},
        {"SetPageMode(3)", "SetPageMode", {L{3}}, 11, {{K::StringValue, S(L"none")}}},
        {"SetLayoutMode(4)", "SetLayoutMode", {L{4}}, 12, {{K::StringValue, S(L"TwoColumnRight")}}},
        {"SetLayoutMode(7)", "SetLayoutMode", {L{7}}, 12, {{K::StringValue, S(L"DontCare")}}},
        {"SetLayoutMode(-1)", "SetLayoutMode", {L{-1}}, 12, {{K::StringValue, S(L"DontCare")}}},
        {"SetNamedDest", "SetNamedDest", {S(L"Chapter 2")}, 13, {{K::StringRef, S(L"Chapter 2")}}},
        {"PrintWithDialog", "PrintWithDialog", {}, 15, {}},
        {"SetZoom", "SetZoom", {150.5f}, 16, {{K::SingleRef, 150.5f}}},
        {"SetZoomScroll",
         "SetZoomScroll",
         {75.5f, 10.0f, 20.25f},
         17,
         {{K::SingleRef, 75.5f}, {K::SingleRef, 10.0f}, {K::SingleRef, 20.25f}}},
        {"SetView(2)", "SetView", {L{2}}, 18, {{K::StringValue, S(L"FitV")}}},
        {"SetView(3)", "SetView", {L{3}}, 18, {{K::StringValue, S(L"FitB")}}},
        {"SetView(6)", "SetView", {L{6}}, 18, {{K::StringValue, S(L"Fit")}}},
        {"SetViewScroll",
         "SetViewScroll",
         {L{5}, 12.5f},
         19,
         {{K::StringValue, S(L"FitBV")}, {K::SingleRef, 12.5f}}},
        {"SetViewRect",
         "SetViewRect",
         {1.5f, 2.0f, 300.0f, 400.5f},
         20,
         {{K::SingleRef, 1.5f},
          {K::SingleRef, 2.0f},
          {K::SingleRef, 300.0f},
          {K::SingleRef, 400.5f}}},
        // A backwards range is neither swapped nor clamped.
        {"PrintPages(5,2)",
         "PrintPages",
         {L{5}, L{2}},
         21,
         {{K::LongRef, L{5}}, {K::LongRef, L{2}}}},
        {"PrintPagesFit",
         "PrintPagesFit",
         {L{-3}, L{9}, t},
         22,
         {{K::LongRef, L{-3}}, {K::LongRef, L{9}}, {K::BoolRef, t}}},
        {"PrintAll", "PrintAll", {}, 23, {}},
        {"PrintAllFit", "PrintAllFit", {f}, 24, {{K::BoolRef, f}}},
        {"ShowScrollBars(False)", "ShowScrollBars", {f}, 25, {{K::BoolRef, f}}},
        {"SetCurrentHighlight",
         "SetCurrentHighlight",
         {L{10}, L{20}, L{-30}, L{40}},
         28,
         {{K::LongRef, L{10}}, {K::LongRef, L{20}}, {K::LongRef, L{-30}}, {K::LongRef, L{40}}}},
    };
}

} // namespace folivex::testing
