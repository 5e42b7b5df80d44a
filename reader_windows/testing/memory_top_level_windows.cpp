#include "reader_windows/testing/memory_top_level_windows.h"

#include "common/automation_text.h"

namespace folivex::testing {
namespace {

std::wstring Folded(const std::string& text) {
    return AsciiLower(std::wstring(text.begin(), text.end()));
}

} // namespace

WindowHandle MemoryTopLevelWindows::Add(std::string title, Behaviour behaviour) {
    const WindowHandle handle = nextHandle_;
    nextHandle_ += 4;
    windows_.emplace(handle, Window{std::move(title), behaviour});
    return handle;
}

WindowHandle MemoryTopLevelWindows::FindByTitle(const std::string& title) {
    searched_.push_back(title);
    for (const auto& [handle, window] : windows_) {
        if (Folded(window.title) == Folded(title)) {
            return handle;
        }
    }
    return 0;
}

std::optional<std::intptr_t> MemoryTopLevelWindows::SendWithTimeout(WindowHandle window,
                                                                    std::uint32_t message,
                                                                    std::uintptr_t, std::intptr_t,
                                                                    std::uint32_t timeoutMs) {
    sent_.push_back({window, message, timeoutMs});
    const auto it = windows_.find(window);
    if (it == windows_.end()) {
        return 0;
    }
    const Behaviour behaviour = it->second.behaviour;
    if (message == kMessageClose) {
        if (behaviour.hungOnClose) {
            return std::nullopt;
        }
        if (behaviour.destroyOnClose) {
            windows_.erase(it);
        }
        return 0;
    }
    if (message == kMessageDestroy) {
        if (behaviour.hungOnDestroy) {
            return std::nullopt;
        }
        return behaviour.destroyResult;
    }
    return 0;
}

} // namespace folivex::testing
