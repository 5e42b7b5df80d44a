#pragma once
// The dialog creation reports on Win32: an out-of-context WinEvent hook for EVENT_OBJECT_CREATE,
// one per thread, whose callback runs on the thread (while it handles messages) for windows of
// any process. Wine sends no EVENT_OBJECT_SHOW or EVENT_SYSTEM_DIALOGSTART, so the creation
// of a top-level window of class "#32770" is what is looked for.

#include "restrictions/dialog_creation_watch.h"
#include "restrictions/win32_desktop_windows.h"

#include "com/unique_handle.h"

#include <windows.h>

#include <memory>

namespace folivex {

struct WinEventHookTraits {
    using Handle = HWINEVENTHOOK;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::UnhookWinEvent(h); }
};
using UniqueWinEventHook = com::UniqueHandle<WinEventHookTraits>;

class Win32DialogCreationHook : public DialogCreationHookPlatform {
public:
    bool InstallHook() override;
    void RemoveHook() override;

private:
    UniqueWinEventHook hook_;
};

// The calling thread's watch and hook, shared by the thread's controls.
class ThreadDialogCreationWatch : public std::enable_shared_from_this<ThreadDialogCreationWatch> {
public:
    static std::shared_ptr<ThreadDialogCreationWatch> ForCurrentThread();

    ThreadDialogCreationWatch();
    ~ThreadDialogCreationWatch();
    ThreadDialogCreationWatch(const ThreadDialogCreationWatch&) = delete;
    ThreadDialogCreationWatch& operator=(const ThreadDialogCreationWatch&) = delete;

    DialogCreationWatch& Watch() { return watch_; }
    void DialogCreated() { watch_.DialogCreated(desktop_); }

private:
    Win32DialogCreationHook hook_; // declared first: the watch removes the hook before it goes
    Win32DesktopWindows desktop_;
    DialogCreationWatch watch_{hook_};
};

// One control's place in its thread's watch; construct and use it on the control's thread.
class Win32DialogCreationWatch {
public:
    explicit Win32DialogCreationWatch(DialogRestrictions& restrictions)
        : thread_(ThreadDialogCreationWatch::ForCurrentThread()), restrictions_(restrictions) {}
    ~Win32DialogCreationWatch() { thread_->Watch().Forget(restrictions_); }
    Win32DialogCreationWatch(const Win32DialogCreationWatch&) = delete;
    Win32DialogCreationWatch& operator=(const Win32DialogCreationWatch&) = delete;

    // After the control's print or save suppression was switched on or off.
    void Update() { thread_->Watch().Update(restrictions_); }

private:
    std::shared_ptr<ThreadDialogCreationWatch> thread_;
    DialogRestrictions& restrictions_;
};

} // namespace folivex
