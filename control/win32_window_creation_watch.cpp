#include "control/win32_window_creation_watch.h"

#include <algorithm>
#include <vector>

namespace folivex {

// The thread's hook and the watches it serves; it exists only while one of the thread's opens
// waits, and goes with the last watch.
class ThreadCreationHook {
public:
    static std::shared_ptr<ThreadCreationHook> ForCurrentThread();
    ThreadCreationHook();
    ~ThreadCreationHook();
    ThreadCreationHook(const ThreadCreationHook&) = delete;
    ThreadCreationHook& operator=(const ThreadCreationHook&) = delete;

    bool Installed() const { return static_cast<bool>(hook_); }
    void Add(WindowCreationWatch* watch) { watches_.push_back(watch); }
    void Remove(WindowCreationWatch* watch) {
        watches_.erase(std::remove(watches_.begin(), watches_.end(), watch), watches_.end());
    }
    void OnCreate(HWND parent) {
        for (WindowCreationWatch* watch : watches_) {
            watch->OnCreate(parent);
        }
    }

private:
    com::UniqueHook hook_;
    std::vector<WindowCreationWatch*> watches_;
    std::weak_ptr<ThreadCreationHook> self_;
};

namespace {

// Trivially destructible on purpose: a thread-local with a destructor would, with MinGW,
// register a thread-exit callback that pins this library or outlives it.
thread_local ThreadCreationHook* t_hook = nullptr;

LRESULT CALLBACK CreationHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && lParam && t_hook) {
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        t_hook->OnCreate(create ? create->hwndParent : nullptr);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

std::shared_ptr<ThreadCreationHook> ThreadCreationHook::ForCurrentThread() {
    if (t_hook) {
        return t_hook->self_.lock();
    }
    auto hook = std::make_shared<ThreadCreationHook>();
    hook->self_ = hook;
    return hook;
}

ThreadCreationHook::ThreadCreationHook()
    : hook_(::SetWindowsHookExW(WH_CBT, CreationHookProc, nullptr, ::GetCurrentThreadId())) {
    t_hook = this;
}

ThreadCreationHook::~ThreadCreationHook() {
    if (t_hook == this) {
        t_hook = nullptr;
    }
}

WindowCreationWatch::WindowCreationWatch(HWND root)
    : root_(root), wake_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      hook_(ThreadCreationHook::ForCurrentThread()) {
    if (wake_ && hook_ && hook_->Installed()) {
        hook_->Add(this);
        hooked_ = true;
    }
}

WindowCreationWatch::~WindowCreationWatch() {
    if (hooked_) {
        hook_->Remove(this);
    }
}

void WindowCreationWatch::OnCreate(HWND parent) {
    if (parent && root_ && (parent == root_ || ::IsChild(root_, parent))) {
        created_ = true;
        ::SetEvent(wake_.Get());
    }
}

} // namespace folivex
