#pragma once
// The demo's main window: one Viewer filling the client area between our toolbar and the
// status bar, the menu and accelerators, the download events, and a poll of the page and zoom
// readouts (the Viewer raises no event when the user pages inside the document).

#include "commands.h"
#include "event_sink.h"
#include "status_bar.h"
#include "toolbar.h"

#include "com/hosted_control.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace folivex::demo {

enum class DownloadPhase { Started, Progress, Error, Complete };

class MainWindow : public DownloadListener {
public:
    // Called after the status bar has shown each download event (before it hides the progress
    // bar at the end), so the tour can photograph a download in flight.
    using DownloadObserver = std::function<void(DownloadPhase, long curBytes, long maxBytes)>;

    // Creates the (still hidden) window and the Viewer in it. A Viewer that cannot be created
    // leaves the window usable, with the reason in the status bar.
    static std::unique_ptr<MainWindow> Create(HINSTANCE instance);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Window() const { return window_; }
    bool HasViewer() const { return viewer_ != nullptr; }
    StatusBar& Status() { return status_; }
    Commands& Run() { return *commands_; }

    // Accelerators, and Enter in the zoom box; true when the message was used up.
    bool PreTranslate(MSG& message);
    void RefreshPosition();
    void SetDownloadObserver(DownloadObserver observer) { observer_ = std::move(observer); }

private:
    explicit MainWindow(HINSTANCE instance);
    bool Build();
    void CreateViewer();
    void LayOut();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void DownloadStarted(const std::wstring& saveFile) override;
    void DownloadProgress(long curBytes, long maxBytes, const std::wstring& saveFile) override;
    void DownloadError(const std::wstring& saveFile) override;
    void DownloadComplete(long maxBytes, const std::wstring& saveFile) override;
    void Notify(DownloadPhase phase, long curBytes, long maxBytes);

    HINSTANCE instance_;
    HWND window_ = nullptr;         // destroyed by the user or by the destructor
    HACCEL accelerators_ = nullptr; // a resource: freed with the module
    Toolbar toolbar_;
    StatusBar status_;
    std::unique_ptr<Commands> commands_;
    std::unique_ptr<com::HostedControl> host_;
    com::ComPtr<_Viewer> viewer_;
    com::ComPtr<DownloadEventSink> sink_;
    EventConnection events_;
    DownloadObserver observer_;
};

} // namespace folivex::demo
