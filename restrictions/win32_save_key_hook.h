#pragma once
// The save-key hook on Win32: the hook procedure, the RAII hook handle, and the registry of
// claims that each hosting thread keeps for its controls.
//
// A control holds a Win32SaveKeyBlocking as its DisableSaveKeys property. All controls of one
// thread share that thread's ThreadSaveKeyClaims (and so its one hook); the registry lives as
// long as any control of the thread does.

#include "restrictions/save_key_blocking.h"

#include <windows.h>

#include <memory>

namespace folivex {

// The WH_KEYBOARD_LL procedure: swallows Ctrl+Shift+S (returns -1), passes everything else on.
// Copies every examined event to the thread's LastKeyEvent(). Allocates nothing and never
// blocks: it runs for every key event on the desktop.
LRESULT CALLBACK SaveKeyHookProc(int code, WPARAM wParam, LPARAM lParam);

// The last key event the hook examined on this thread; zero before the first.
KBDLLHOOKSTRUCT LastKeyEvent();

class UniqueKeyboardHook {
public:
    UniqueKeyboardHook() = default;
    explicit UniqueKeyboardHook(HHOOK hook) : hook_(hook) {}
    UniqueKeyboardHook(UniqueKeyboardHook&& other) noexcept : hook_(other.Release()) {}
    UniqueKeyboardHook& operator=(UniqueKeyboardHook&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueKeyboardHook(const UniqueKeyboardHook&) = delete;
    UniqueKeyboardHook& operator=(const UniqueKeyboardHook&) = delete;
    ~UniqueKeyboardHook() { Reset(); }

    HHOOK Get() const { return hook_; }
    explicit operator bool() const { return hook_ != nullptr; }
    HHOOK Release() {
        HHOOK hook = hook_;
        hook_ = nullptr;
        return hook;
    }
    // A failed removal is ignored: the handle is given up all the same.
    void Reset(HHOOK hook = nullptr) {
        if (hook_) {
            ::UnhookWindowsHookEx(hook_);
        }
        hook_ = hook;
    }

private:
    HHOOK hook_ = nullptr;
};

// SetWindowsHookExA(WH_KEYBOARD_LL, SaveKeyHookProc, this library's module, 0).
class Win32SaveKeyHook : public SaveKeyHookPlatform {
public:
    bool InstallHook() override;
    void RemoveHook() override;
    bool Installed() const { return static_cast<bool>(hook_); }

private:
    UniqueKeyboardHook hook_;
};

class ThreadSaveKeyClaims : public std::enable_shared_from_this<ThreadSaveKeyClaims> {
public:
    // The calling thread's registry, created with the thread's first control.
    static std::shared_ptr<ThreadSaveKeyClaims> ForCurrentThread();

    ThreadSaveKeyClaims();
    ~ThreadSaveKeyClaims();
    ThreadSaveKeyClaims(const ThreadSaveKeyClaims&) = delete;
    ThreadSaveKeyClaims& operator=(const ThreadSaveKeyClaims&) = delete;

    SaveKeyClaims& Claims() { return claims_; }

private:
    Win32SaveKeyHook hook_; // declared first: the claims remove the hook before it goes
    SaveKeyClaims claims_{hook_};
};

// The DisableSaveKeys property of one control; construct and use it on the control's thread.
class Win32SaveKeyBlocking {
public:
    Win32SaveKeyBlocking()
        : thread_(ThreadSaveKeyClaims::ForCurrentThread()), blocking_(thread_->Claims()) {}

    AutoBool Get() const { return blocking_.DisableSaveKeys(); }
    void Put(AutoBool value) { blocking_.PutDisableSaveKeys(value); }
    // The control's termination: drops its own claim only.
    void Terminate() { blocking_.Terminate(); }

private:
    std::shared_ptr<ThreadSaveKeyClaims> thread_; // outlives blocking_
    SaveKeyBlocking blocking_;
};

} // namespace folivex
