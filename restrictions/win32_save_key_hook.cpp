#include "restrictions/win32_save_key_hook.h"

#include <cstring>

namespace folivex {
namespace {

// Both are trivially destructible on purpose: a thread-local with a destructor would, with
// MinGW, register a thread-exit callback that pins this library or outlives it.
thread_local KBDLLHOOKSTRUCT t_lastKeyEvent = {};
thread_local HeldModifiers t_heldModifiers = {};
thread_local ThreadSaveKeyClaims* t_threadClaims = nullptr;

// Where thread-locals are emulated, the first access from a thread allocates their storage;
// touching the event record before the hook exists keeps that out of the hook procedure.
void TouchLastKeyEvent() {
    volatile DWORD* flags = &t_lastKeyEvent.flags;
    *flags = *flags;
    volatile bool* ctrl = &t_heldModifiers.ctrl.down;
    *ctrl = *ctrl;
}

} // namespace

LRESULT CALLBACK SaveKeyHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto message = static_cast<std::uint32_t>(wParam);
    if (IsExaminedKeyMessage(code, message) && lParam != 0) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        std::memcpy(&t_lastKeyEvent, event, sizeof(KBDLLHOOKSTRUCT));
        t_heldModifiers.Observe(message, event->vkCode, event->time);
        // The asynchronous state: GetKeyState lags behind the input stream and does not follow
        // keys that went to other threads' windows.
        const bool ctrlDown = HeldModifiers::Down(
            t_heldModifiers.ctrl, KeyStateIsDown(::GetAsyncKeyState(VK_CONTROL)), event->time);
        const bool shiftDown = HeldModifiers::Down(
            t_heldModifiers.shift, KeyStateIsDown(::GetAsyncKeyState(VK_SHIFT)), event->time);
        if (ShouldSwallowKey(code, message, event->vkCode, ctrlDown, shiftDown)) {
            return -1;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

KBDLLHOOKSTRUCT LastKeyEvent() {
    return t_lastKeyEvent;
}

bool Win32SaveKeyHook::InstallHook() {
    if (hook_) {
        return true;
    }
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&SaveKeyHookProc), &module)) {
        return false;
    }
    TouchLastKeyEvent();
    // What a hook of this thread saw before it was removed no longer says anything.
    t_heldModifiers = HeldModifiers{};
    hook_.Reset(::SetWindowsHookExA(WH_KEYBOARD_LL, &SaveKeyHookProc, module, 0));
    return static_cast<bool>(hook_);
}

void Win32SaveKeyHook::RemoveHook() {
    hook_.Reset();
}

std::shared_ptr<ThreadSaveKeyClaims> ThreadSaveKeyClaims::ForCurrentThread() {
    if (t_threadClaims) {
        return t_threadClaims->shared_from_this();
    }
    return std::make_shared<ThreadSaveKeyClaims>();
}

ThreadSaveKeyClaims::ThreadSaveKeyClaims() {
    t_threadClaims = this;
}

ThreadSaveKeyClaims::~ThreadSaveKeyClaims() {
    if (t_threadClaims == this) {
        t_threadClaims = nullptr;
    }
}

} // namespace folivex
