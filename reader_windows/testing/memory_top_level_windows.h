#pragma once
// Top-level windows of an in-memory desktop, for the native tests: titles compared as a whole
// without regard to ASCII case (as the platform compares them), the first added window winning,
// and every message recorded.

#include "reader_windows/stand_alone_windows.h"

#include <map>
#include <vector>

namespace folivex::testing {

class MemoryTopLevelWindows : public TopLevelWindows {
public:
    struct Behaviour {
        bool destroyOnClose = true;      // WM_CLOSE destroys the window
        std::intptr_t destroyResult = 0; // answer to WM_DESTROY while the window exists
        bool hungOnClose = false;        // WM_CLOSE is not handled in time
        bool hungOnDestroy = false;      // WM_DESTROY is not handled in time
    };
    struct Sent {
        WindowHandle window;
        std::uint32_t message;
        std::uint32_t timeoutMs;
        bool operator==(const Sent&) const = default;
    };

    WindowHandle Add(std::string title, Behaviour behaviour);
    WindowHandle Add(std::string title) { return Add(std::move(title), Behaviour{}); }
    bool Exists(WindowHandle window) const { return windows_.count(window) != 0; }

    const std::vector<std::string>& Searched() const { return searched_; }
    const std::vector<Sent>& SentMessages() const { return sent_; }

    WindowHandle FindByTitle(const std::string& title) override;
    std::optional<std::intptr_t> SendWithTimeout(WindowHandle window, std::uint32_t message,
                                                 std::uintptr_t wParam, std::intptr_t lParam,
                                                 std::uint32_t timeoutMs) override;

private:
    struct Window {
        std::string title;
        Behaviour behaviour;
    };
    std::map<WindowHandle, Window> windows_; // handles rise in order of adding
    WindowHandle nextHandle_ = 0x2000;
    std::vector<std::string> searched_;
    std::vector<Sent> sent_;
};

} // namespace folivex::testing
