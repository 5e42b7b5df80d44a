#pragma once
// Window trees shaped like the viewer component's, in both layouts, for the tests of the walks
// and of the control that uses them.
//
// Old layout (Reader 7 and earlier), in Z-order:
//   control window
//     component frame
//       "AVToolBarEasel"
//         "AVToolBarView" 120 px
//         "AVToolBarView" 36 px
//         "AVToolBarView" 180 px: page box "Edit" '<page> of <total>', zoom box "Edit" '<zoom>'
//       "AVStatusLayoutView"
//       splitter view
//         "AVTabView"
//         "AVPageView" (the document view, once shown) with a page canvas below it
//       "AVWebSearchView"
// New layout (Reader 8 and later):
//   control window
//     component frame
//       "AVToolBarEasel"
//         "AVToolBarView" 36 px
//         "AVToolBarView" 240 px: page box "Edit" '<page>' 30 px, zoom box "Edit" '<zoom>' 60 px
//       "AVStatusLayoutView"
//       "AVWebSearchView"
//       "AVNullDocView" (the document view, once shown) with a page canvas below it
//       "AVTabView"

#include "reader_windows/testing/memory_window_tree.h"

#include <string>

namespace folivex::testing {

enum class ViewerLayout { Old, New };

struct ViewerTreeOptions {
    ViewerLayout layout = ViewerLayout::New;
    std::string page = "1";
    std::string pageTotal = "10"; // old layout only: the page box reads "<page> of <total>"
    std::string zoom = "100%";
    bool documentView = true; // false: the document is not displayed yet
};

// The windows of a built tree; 0 for those the layout does not have or not yet.
struct ViewerWindows {
    ViewerLayout layout = ViewerLayout::New;
    WindowHandle control = 0;
    WindowHandle frame = 0;
    WindowHandle toolbarEasel = 0;
    WindowHandle wideToolbarView = 0;   // old layout: 120 px, ahead of the narrow one
    WindowHandle narrowToolbarView = 0; // 36 px
    WindowHandle boxesToolbarView = 0;  // holds the page and zoom boxes
    WindowHandle pageBox = 0;
    WindowHandle zoomBox = 0;
    WindowHandle navigationBar = 0;
    WindowHandle splitter = 0; // old layout
    WindowHandle tabView = 0;
    WindowHandle webSearchView = 0;
    WindowHandle documentView = 0;
    WindowHandle pageCanvas = 0; // below the document view
};

// Builds the tree below a new control window (a window without parent).
ViewerWindows BuildViewerTree(MemoryWindowTree& tree, const ViewerTreeOptions& options = {});

// Shows the document: adds the document view (and its canvas) where the layout has it.
void AddDocumentView(MemoryWindowTree& tree, ViewerWindows& windows);

// The Reader major version a test uses for a layout.
constexpr std::int16_t ReaderVersionFor(ViewerLayout layout) {
    return layout == ViewerLayout::Old ? 7 : 9;
}

} // namespace folivex::testing
