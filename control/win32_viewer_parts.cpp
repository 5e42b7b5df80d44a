#include "control/win32_viewer_parts.h"

#include "viewer_bridge/win32_component_host.h"

#include "com/bstr.h"

#include <cstdlib>
#include <string>

namespace folivex {
namespace {

// Bounds of the waits that tests shorten; not part of the control's public surface.
constexpr const char* kDocumentViewTimeoutVariable = "FOLIVEX_DOCUMENT_VIEW_TIMEOUT_MS";
constexpr const char* kDownloadStallVariable = "FOLIVEX_DOWNLOAD_STALL_MS";
constexpr const char* kWaitFallbackVariable = "FOLIVEX_OPEN_WAIT_FALLBACK_MS";

long long MillisecondsFromEnvironment(const char* name, long long fallback) {
    char value[32] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value) {
        return fallback;
    }
    char* end = nullptr;
    const long long parsed = std::strtoll(value, &end, 10);
    return (end && *end == '\0' && parsed > 0) ? parsed : fallback;
}

OpenWaitSettings WaitSettings() {
    OpenWaitSettings settings;
    settings.documentViewTimeout = std::chrono::milliseconds(MillisecondsFromEnvironment(
        kDocumentViewTimeoutVariable, settings.documentViewTimeout.count()));
    settings.pollInterval = std::chrono::milliseconds(
        MillisecondsFromEnvironment(kWaitFallbackVariable, settings.pollInterval.count()));
    return settings;
}

} // namespace

Viewer::Parts::Parts(Viewer& viewer)
    : events(viewer), downloader(downloadService, files, downloadService, events),
      opener(WaitSettings()), surface(viewer), timer1(viewer.timer1_, timerWindow, kTimer1Id),
      timer2(viewer.timer2_, timerWindow, kTimer2Id), dialogs(timer1, timer2),
      // Each key goes to the component's active object first, as a container's loop offers it.
      keys([&viewer](MSG& message) { return viewer.OfferKeyToComponent(message); }) {
    downloader.SetStallMilliseconds(
        MillisecondsFromEnvironment(kDownloadStallVariable, Downloader::kDefaultStallMilliseconds));
}

void Viewer::Parts::Events::DownloadStarted(std::wstring& SaveFile) {
    // The handler gets a string of its own by reference; whatever it leaves there is the file.
    BSTR file = com::Bstr(SaveFile).Detach();
    viewer_.FireDownloadStarted(&file);
    SaveFile = com::Bstr::ToString(file);
    ::SysFreeString(file);
}

void Viewer::Parts::Events::DownloadProgress(std::int32_t CurBytes, std::int32_t MaxBytes,
                                             std::wstring SaveFile) {
    viewer_.FireDownloadProgress(CurBytes, MaxBytes, SaveFile);
}

void Viewer::Parts::Events::DownloadError(std::wstring SaveFile) {
    viewer_.FireDownloadError(SaveFile);
}

void Viewer::Parts::Events::DownloadComplete(std::int32_t MaxBytes, std::wstring SaveFile) {
    viewer_.FireDownloadComplete(MaxBytes, SaveFile);
}

void Viewer::Parts::Surface::ShowAtTopRight() {
    HWND panel = viewer_.coverPanel_.Get();
    HWND window = viewer_.window_.Get();
    if (!panel || !window || !viewer_.component_) {
        return;
    }
    RECT client = {};
    RECT bounds = {};
    ::GetClientRect(window, &client);
    ::GetWindowRect(panel, &bounds);
    ::SetWindowPos(panel, HWND_TOP, client.right - (bounds.right - bounds.left),
                   viewer_.component_->Top(), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Viewer::Parts::Surface::RepaintNow() {
    if (HWND window = viewer_.window_.Get()) {
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

} // namespace folivex
