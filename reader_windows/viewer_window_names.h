#pragma once
// Window classes and view names of the viewer component's window tree. All are compared as
// whole strings, case-sensitive.

#include <string_view>

namespace folivex::viewer_window {

// Class names.
inline constexpr std::wstring_view kEdit = L"Edit";
inline constexpr std::wstring_view kRichEdit = L"RichEdit20A";
inline constexpr std::wstring_view kView = L"AVL_AVView";

// Texts of "AVL_AVView" windows, naming the kind of view.
inline constexpr std::wstring_view kToolBarEasel = L"AVToolBarEasel";
inline constexpr std::wstring_view kToolBarView = L"AVToolBarView";
inline constexpr std::wstring_view kStatusLayoutView = L"AVStatusLayoutView";
inline constexpr std::wstring_view kTabView = L"AVTabView";
inline constexpr std::wstring_view kWebSearchView = L"AVWebSearchView";
// The document view: old layout, then new layout.
inline constexpr std::wstring_view kPageView = L"AVPageView";
inline constexpr std::wstring_view kNullDocView = L"AVNullDocView";

// Readers up to this major version lay their windows out the old way.
inline constexpr int kLastOldLayoutVersion = 7;

constexpr bool IsNewLayout(int readerVersion) {
    return readerVersion > kLastOldLayoutVersion;
}

constexpr bool IsTextBoxClass(std::wstring_view className) {
    return className == kEdit || className == kRichEdit;
}

} // namespace folivex::viewer_window
