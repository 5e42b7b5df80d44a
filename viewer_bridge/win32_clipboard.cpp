#include "viewer_bridge/win32_clipboard.h"

#include <cwchar>

namespace folivex {
namespace {

class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) {
        for (int attempt = 0; attempt < Win32Clipboard::kOpenAttempts; ++attempt) {
            if (::OpenClipboard(owner)) {
                open_ = true;
                return;
            }
            ::Sleep(Win32Clipboard::kOpenRetryDelayMs);
        }
    }
    ~OpenedClipboard() {
        if (open_) {
            ::CloseClipboard();
        }
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_ = false;
};

class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL memory) : memory_(memory), data_(::GlobalLock(memory)) {}
    ~LockedGlobal() {
        if (data_) {
            ::GlobalUnlock(memory_);
        }
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    const void* Data() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};

} // namespace

bool Win32Clipboard::Clear() {
    const OpenedClipboard clipboard(owner_);
    return clipboard.IsOpen() && ::EmptyClipboard();
}

std::wstring Win32Clipboard::ReadText() {
    const OpenedClipboard clipboard(owner_);
    if (!clipboard.IsOpen()) {
        return std::wstring();
    }
    const HANDLE handle = ::GetClipboardData(CF_UNICODETEXT);
    if (!handle) {
        return std::wstring();
    }
    const HGLOBAL memory = static_cast<HGLOBAL>(handle);
    const LockedGlobal locked(memory);
    if (!locked.Data()) {
        return std::wstring();
    }
    // Another program's data need not be terminated: read no further than the block goes.
    const std::size_t capacity = ::GlobalSize(memory) / sizeof(wchar_t);
    const auto* text = static_cast<const wchar_t*>(locked.Data());
    return std::wstring(text, ::wcsnlen(text, capacity));
}

} // namespace folivex
