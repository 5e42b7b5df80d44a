#pragma once
// The scripted tour that the headless demo run takes: open, page through, zoom, close the
// download a document, close the viewer's toolbar, with a screenshot of the window after each step.

#include "main_window.h"

#include <string>

namespace folivex::demo {

struct TourPlan {
    std::wstring document;    // a local PDF of several pages
    std::wstring downloadUrl; // an http address of a PDF; empty skips the download steps
    std::wstring screenshotDir;
};

// Runs the tour on a shown window and returns the process exit status: 0 when every step's
// screenshot was written. Each step's outcome (the status bar's words) goes to tour.txt.
int RunTour(MainWindow& main, const TourPlan& plan);

} // namespace folivex::demo
