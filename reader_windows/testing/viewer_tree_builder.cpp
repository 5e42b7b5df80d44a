#include "reader_windows/testing/viewer_tree_builder.h"

namespace folivex::testing {
namespace {

constexpr const char* kView = "AVL_AVView";

} // namespace

ViewerWindows BuildViewerTree(MemoryWindowTree& tree, const ViewerTreeOptions& options) {
    ViewerWindows w;
    w.layout = options.layout;
    w.control = tree.Add(0, "FolivexViewer");
    w.frame = tree.Add(w.control, kView, "AVDocumentFrame");
    w.toolbarEasel = tree.Add(w.frame, kView, "AVToolBarEasel");
    if (options.layout == ViewerLayout::Old) {
        w.wideToolbarView = tree.AddWithWidth(w.toolbarEasel, kView, "AVToolBarView", 120);
        w.narrowToolbarView = tree.AddWithWidth(w.toolbarEasel, kView, "AVToolBarView", 36);
        w.boxesToolbarView = tree.AddWithWidth(w.toolbarEasel, kView, "AVToolBarView", 180);
        w.pageBox = tree.AddWithWidth(w.boxesToolbarView, "Edit",
                                      options.page + " of " + options.pageTotal, 60);
        w.zoomBox = tree.AddWithWidth(w.boxesToolbarView, "Edit", options.zoom, 60);
        w.navigationBar = tree.Add(w.frame, kView, "AVStatusLayoutView");
        w.splitter = tree.Add(w.frame, kView, "AVSplitterView");
        w.tabView = tree.Add(w.splitter, kView, "AVTabView");
        if (options.documentView) {
            AddDocumentView(tree, w);
        }
        w.webSearchView = tree.Add(w.frame, kView, "AVWebSearchView");
    } else {
        w.narrowToolbarView = tree.AddWithWidth(w.toolbarEasel, kView, "AVToolBarView", 36);
        w.boxesToolbarView = tree.AddWithWidth(w.toolbarEasel, kView, "AVToolBarView", 240);
        w.pageBox = tree.AddWithWidth(w.boxesToolbarView, "Edit", options.page, 30);
        w.zoomBox = tree.AddWithWidth(w.boxesToolbarView, "Edit", options.zoom, 60);
        w.navigationBar = tree.Add(w.frame, kView, "AVStatusLayoutView");
        w.webSearchView = tree.Add(w.frame, kView, "AVWebSearchView");
        if (options.documentView) {
            AddDocumentView(tree, w);
        }
        w.tabView = tree.Add(w.frame, kView, "AVTabView");
    }
    return w;
}

void AddDocumentView(MemoryWindowTree& tree, ViewerWindows& windows) {
    if (windows.documentView != 0) {
        return;
    }
    // Added last among its siblings when the tree already exists: the model has no Z-order
    // insertion, and the walks need only that the view exists.
    if (windows.layout == ViewerLayout::Old) {
        windows.documentView = tree.Add(windows.splitter, kView, "AVPageView");
    } else {
        windows.documentView = tree.Add(windows.frame, kView, "AVNullDocView");
    }
    windows.pageCanvas = tree.Add(windows.documentView, kView, "AVPageCanvas");
}

} // namespace folivex::testing
