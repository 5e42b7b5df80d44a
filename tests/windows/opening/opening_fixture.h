#pragma once
// A hosted Folivex.Viewer with its own download directory and stand-in journal, and the calls
// the opening tests make on it early-bound, so by-reference arguments travel as a host's do.

#include "tests/windows/support/test_settings.h"
#include "tests/windows/support/test_window.h"
#include "tests/windows/support/viewer_host.h"

#include "com/bstr.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace folivex::testing {

// The address of a route on one of the loopback servers, or "" when the test runs without them.
std::wstring HttpUrl(const wchar_t* route);
std::wstring FtpUrl(const wchar_t* route);

// In a GoogleTest test or fixture: skips it when the loopback servers are not running.
#define REQUIRE_SERVERS()                                                                          \
    do {                                                                                           \
        if (HttpUrl(L"").empty()) {                                                                \
            GTEST_SKIP() << "needs the loopback servers (FOLIVEX_TEST_HTTP_URL)";                  \
        }                                                                                          \
    } while (false)

// The component's site window inside the control's window, or null.
HWND ComponentSite(HWND controlWindow);

class OpeningSession {
public:
    enum class Layout { Old, New };
    // Settings the control reads at creation must be in place before this is made. The old
    // layout is the default: only its page box ("P of N") gives PageTotal a count.
    explicit OpeningSession(Layout layout = Layout::Old);
    ~OpeningSession();

    ViewerHost& Host() { return *host_; }
    _Viewer* Viewer() { return host_->Viewer(); }
    const ScratchDirectory& Temp() const { return temp_; }
    const std::wstring& Journal() const { return journal_; }

    bool Open(const std::wstring& path);
    std::wstring Path();
    void SetPath(const std::wstring& path);
    long PageTotal();
    bool ComponentVisible();
    // BeginDownload with the caller's strFile variable; `file` receives its value afterwards.
    bool BeginDownload(const std::wstring& url, std::wstring& file);
    // Pumps until a DownloadComplete event has arrived (or 20 s passed).
    bool WaitForDownloadComplete();
    bool SaveCopy(const std::wstring& destination, const std::wstring& source = L"");
    // Ends the control as a container does when the form closes.
    void Terminate();

    // Events of one kind, in arrival order.
    std::vector<RecordedEvent> EventsOf(ViewerEvent kind) const;
    std::vector<DISPID> EventOrder() const;
    // The load requests (member 2) the component received.
    std::vector<std::wstring> LoadRequests() const;

private:
    ComApartment apartment_;
    ScratchDirectory temp_;
    ScratchDirectory journalDirectory_;
    std::wstring journal_;
    std::unique_ptr<ScopedSetting> journalSetting_;
    std::unique_ptr<ScopedSetting> layoutSetting_;
    std::unique_ptr<ViewerHost> host_;
};

} // namespace folivex::testing
