#pragma once
// Wakes the document-view wait of an open when a window is created below the control's window
// on the control's thread, so that the wait can sleep until then instead of walking the window
// tree on a short timer. A thread-local WH_CBT hook sees every window made on the thread; one
// hook serves every watch of the thread (an open started from a handler during another open
// adds a watch, not a hook).

#include "com/unique_handle.h"

#include <windows.h>

#include <memory>

namespace folivex {

class ThreadCreationHook;

class WindowCreationWatch {
public:
    // Watches the windows created below `root` (and `root`'s own children) from now on.
    explicit WindowCreationWatch(HWND root);
    ~WindowCreationWatch();
    WindowCreationWatch(const WindowCreationWatch&) = delete;
    WindowCreationWatch& operator=(const WindowCreationWatch&) = delete;

    // Signalled (auto-reset) when such a window has been created; null when the platform gave
    // no event or no hook, and then only the wait's own timeout and messages end it.
    HANDLE Wake() const { return hooked_ ? wake_.Get() : nullptr; }

    // Forgets the creations seen so far (a walk that follows sees them).
    void Clear() {
        created_ = false;
        if (wake_) {
            ::ResetEvent(wake_.Get());
        }
    }
    // Whether such a window has been made since the last Clear(); costs no system call.
    bool Created() const { return created_; }

    // Called by the thread's hook for each window being created.
    void OnCreate(HWND parent);

private:
    HWND root_;
    com::UniqueKernelHandle wake_;
    std::shared_ptr<ThreadCreationHook> hook_; // the thread's, shared with its other watches
    bool created_ = false;
    bool hooked_ = false;
};

} // namespace folivex
