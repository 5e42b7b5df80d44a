#pragma once
// Walks of the viewer component's window tree, from a root window downwards, recognising
// windows by class name and text. All three share one traversal: depth-first, pre-order,
// siblings in Z-order, each window's children listed before any of them is visited.
//
// Layout: ReaderVersion <= 7 is the old layout, >= 8 the new one.
//
// The traversal is iterative and visits each window at most once, so a tree whose sibling or
// child links loop back, or a very deep tree, neither hangs the walk nor exhausts the stack;
// it also stops after kMaxWalkWindows windows, more than a desktop can hold.

#include "common/portable_types.h"
#include "reader_windows/captured_windows.h"
#include "reader_windows/window_tree.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace folivex {

// A window's children beyond this count are not listed (the count is 16-bit).
inline constexpr std::size_t kMaxListedChildren = 32767;
// No walk examines more windows than the platform's window-handle table can hold.
inline constexpr std::size_t kMaxWalkWindows = 65536;
// Longer window texts are read only up to this many bytes.
inline constexpr std::intptr_t kMaxWindowTextBytes = 1 << 20;

// The window's text, or "" for handle 0 or an empty text (then without a second message).
std::wstring ReadWindowText(WindowTree& tree, WindowHandle window);

// The collecting walk: appends every toolbar view and text box it meets to `captured` and
// stops at the document view window. Returns "" when the document view window was not reached
// in the subtree, otherwise its text.
std::wstring CollectViewerWindows(WindowTree& tree, WindowHandle root, std::int16_t readerVersion,
                                  CapturedWindows& captured);

// The page-box walk: stores the page number of the page box it finds in `lastPage` (unchanged
// when the text does not convert). Returns the text of the window at which the search ended,
// or "".
std::wstring FindPageBox(WindowTree& tree, WindowHandle root, std::int16_t readerVersion,
                         std::int32_t& lastPage);

// The zoom-box walk: as FindPageBox, storing the zoom percentage in `lastZoomPct`.
std::wstring FindZoomBox(WindowTree& tree, WindowHandle root, std::int16_t readerVersion,
                         std::int16_t& lastZoomPct);

} // namespace folivex
