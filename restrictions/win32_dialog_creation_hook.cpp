#include "restrictions/win32_dialog_creation_hook.h"

#include <cstring>

namespace folivex {
namespace {

// Trivially destructible on purpose: a thread-local with a destructor would, with MinGW,
// register a thread-exit callback that pins this library or outlives it.
thread_local ThreadDialogCreationWatch* t_watch = nullptr;

bool IsTopLevelDialog(HWND window) {
    if (!window || ::GetAncestor(window, GA_PARENT) != ::GetDesktopWindow()) {
        return false;
    }
    char name[kClassNameBufferSize] = {};
    const int length = ::GetClassNameA(window, name, kClassNameBufferSize);
    return length > 0 && std::strcmp(name, kDialogWindowClass) == 0;
}

void CALLBACK DialogCreatedProc(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                                DWORD, DWORD) {
    if (event != EVENT_OBJECT_CREATE || object != OBJID_WINDOW || child != CHILDID_SELF ||
        !t_watch || !IsTopLevelDialog(window)) {
        return;
    }
    // Keep the watch alive should the thread's last control go while the ticks run.
    if (auto watch = t_watch->weak_from_this().lock()) {
        watch->DialogCreated();
    }
}

} // namespace

bool Win32DialogCreationHook::InstallHook() {
    if (!hook_) {
        hook_.Reset(::SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr,
                                      DialogCreatedProc, 0, 0, WINEVENT_OUTOFCONTEXT));
    }
    return static_cast<bool>(hook_);
}

void Win32DialogCreationHook::RemoveHook() {
    hook_.Reset();
}

std::shared_ptr<ThreadDialogCreationWatch> ThreadDialogCreationWatch::ForCurrentThread() {
    if (t_watch) {
        if (auto watch = t_watch->weak_from_this().lock()) {
            return watch;
        }
    }
    return std::make_shared<ThreadDialogCreationWatch>();
}

ThreadDialogCreationWatch::ThreadDialogCreationWatch() {
    t_watch = this;
}

ThreadDialogCreationWatch::~ThreadDialogCreationWatch() {
    if (t_watch == this) {
        t_watch = nullptr;
    }
}

} // namespace folivex
