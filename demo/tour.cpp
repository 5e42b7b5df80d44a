#include "tour.h"

#include "resource.h"
#include "screenshot.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace folivex::demo {

namespace {

// Lets the viewer and the bars paint. Not a timing guarantee of anything: the screenshot only
// has to show what the step did, and half a second is far more than a repaint takes.
void Settle(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

class Tour {
public:
    Tour(MainWindow& main, const TourPlan& plan) : main_(main), plan_(plan) {}

    int Run() {
        Settle(500);
        Step(L"start", [] {});
        Step(L"open", [&] { main_.Run().Open(plan_.document); });
        Step(L"next-page", [&] { main_.Run().Execute(ID_GO_NEXT); });
        Step(L"next-page", [&] { main_.Run().Execute(ID_GO_NEXT); });
        Step(L"last-page", [&] { main_.Run().Execute(ID_GO_LAST); });
        Step(L"previous-page", [&] { main_.Run().Execute(ID_GO_PREVIOUS); });
        Step(L"zoom-in", [&] { main_.Run().Execute(ID_ZOOM_IN); });
        Step(L"zoom-in", [&] { main_.Run().Execute(ID_ZOOM_IN); });
        Step(L"zoom-out", [&] { main_.Run().Execute(ID_ZOOM_OUT); });
        if (!plan_.downloadUrl.empty()) {
            Download();
            // Back to the demo document for the last step.
            Step(L"reopen", [&] { main_.Run().Open(plan_.document); });
        }
        // Last: a closed toolbar takes the page box with it, and the readouts of any document
        // opened afterwards would only repeat the values last read.
        Step(L"close-viewer-toolbar", [&] { main_.Run().Execute(ID_BAR_CLOSE_TOOLBAR); });
        WriteLog();
        return failures_ == 0 ? 0 : 2;
    }

private:
    template <typename Action>
    void Step(const wchar_t* name, Action action) {
        action();
        main_.RefreshPosition();
        Settle(500);
        Capture(name);
    }

    // The download runs inside OpenPDF, which processes messages while it waits; the picture is
    // taken from the progress event once a good part has arrived (or at completion, when the
    // server was too quick for that), while the progress bar is on screen.
    void Download() {
        bool captured = false;
        main_.SetDownloadObserver([&](DownloadPhase phase, long current, long maximum) {
            const bool partway = phase == DownloadPhase::Progress && maximum > 0 &&
                                 current * 3 >= maximum && current < maximum;
            if (!captured &&
                (partway || phase == DownloadPhase::Complete || phase == DownloadPhase::Error)) {
                captured = true;
                Capture(L"downloading");
            }
        });
        main_.Run().Open(plan_.downloadUrl);
        main_.SetDownloadObserver(nullptr);
        if (!captured) {
            // No event came at all: the picture shows the failure the status bar reports.
            Capture(L"downloading");
        }
        main_.RefreshPosition();
        Settle(500);
        Capture(L"downloaded");
    }

    void Capture(const wchar_t* name) {
        ::RedrawWindow(main_.Window(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        wchar_t file[64] = {};
        std::swprintf(file, 64, L"%02d-%ls", ++count_, name);
        const bool ok =
            SaveWindowBitmap(main_.Window(), plan_.screenshotDir + L"\\" + file + L".bmp");
        if (!ok) {
            ++failures_;
        }
        std::wstring position = main_.Status().PositionText();
        for (wchar_t& c : position) {
            if (c == L'|') {
                c = L',';
            }
        }
        log_.push_back(std::wstring(file) + L".png: " + position + L"; " +
                       main_.Status().Message() + (ok ? L"" : L" [screenshot failed]"));
    }

    void WriteLog() {
        FILE* out = ::_wfopen((plan_.screenshotDir + L"\\tour.txt").c_str(), L"w, ccs=UTF-8");
        if (!out) {
            ++failures_;
            return;
        }
        for (const std::wstring& line : log_) {
            std::fwprintf(out, L"%ls\n", line.c_str());
        }
        std::fclose(out);
    }

    MainWindow& main_;
    const TourPlan& plan_;
    int count_ = 0;
    int failures_ = 0;
    std::vector<std::wstring> log_;
};

} // namespace

int RunTour(MainWindow& main, const TourPlan& plan) {
    return Tour(main, plan).Run();
}

} // namespace folivex::demo
