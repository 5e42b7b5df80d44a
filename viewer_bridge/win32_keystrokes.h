#pragma once
// Keystroke delivery on Win32: characters mapped through the thread's keyboard layout, inputs
// injected with SendInput, and a bounded message pump that returns once the last of them has
// been processed by this thread.

#include "viewer_bridge/keystrokes.h"

#include <windows.h>

#include <functional>
#include <utility>

namespace folivex {

// VkKeyScanW on the calling thread's layout.
class Win32KeyboardLayout : public KeyboardLayout {
public:
    std::optional<LayoutKey> KeyFor(char32_t character) const override;
};

// Injects the inputs and pumps this thread's messages until the last one has been retrieved and
// dispatched. Every injected event carries a tag in its extra information; the last carries a
// marker of its own, which GetMessageExtraInfo shows when its key message comes out of the
// queue. The wait ends there, after the messages the keys posted have run, or after the
// timeout (keys swallowed by a hook, or focus in a window of another thread that never sends
// them here).
//
// When the foreground window belongs to another thread (a console script host, an unsited
// control, a host window that is not the active one) injected input would never reach us: the
// keys then go as key messages straight to this thread's focus window, with the thread's key
// state showing the modifiers, and are processed before Deliver returns. With no focus window
// of ours either nothing is sent: the keys are never typed into another program's window.
//
// A component that renders off the host's thread owns its window there, and injected input
// would be retrieved by that thread, out of our sight. When the component's window belongs to
// another thread the keys go as sent messages to the focus window of that thread (inside the
// component's window, which is given the focus first), with the two threads' input attached
// for the delivery so that the component reads the modifiers from the key state. Each send has
// a timeout: a thread that does not answer ends the delivery, and is not sent to again for a
// while, so that a member of several key sequences gives up within about one timeout.
class Win32KeyInputSink : public KeyInputSink {
public:
    // Called for each message the wait retrieves before it is translated and dispatched; true
    // when it has handled the message (an in-place active object's TranslateAccelerator, say).
    using PreTranslate = std::function<bool(MSG&)>;
    // The component's window, or nullptr.
    using ComponentWindow = std::function<HWND()>;
    static constexpr DWORD kDefaultTimeoutMs = 3000;
    static constexpr DWORD kAnswerTimeoutMs = 1000;
    static constexpr DWORD kHungThreadPauseMs = 3000;

    explicit Win32KeyInputSink(PreTranslate preTranslate = {}, DWORD timeoutMs = kDefaultTimeoutMs,
                               ComponentWindow componentWindow = {})
        : preTranslate_(std::move(preTranslate)), timeoutMs_(timeoutMs),
          componentWindow_(std::move(componentWindow)) {}

    // False when the platform refused the inputs, the wait timed out or WM_QUIT came (which is
    // posted again for the thread's own loop).
    bool Deliver(std::span<const KeyInput> inputs) override;

private:
    bool WaitForMarker(std::uint32_t batch);
    bool DeliverToFocus(std::span<const KeyInput> inputs);
    bool DeliverToComponentThread(std::span<const KeyInput> inputs, HWND component);
    // Sends with the answer timeout; a thread that does not answer is remembered as hung.
    bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool ThreadRecentlyHung(DWORD thread) const;
    void Dispatch(MSG& message);
    void DrainPosted();

    PreTranslate preTranslate_;
    DWORD timeoutMs_;
    ComponentWindow componentWindow_;
    DWORD hungThread_ = 0;
    ULONGLONG hungSince_ = 0;
};

// What the text operations use: parse, map and deliver.
class Win32KeystrokeSender : public KeystrokeSender {
public:
    explicit Win32KeystrokeSender(Win32KeyInputSink::PreTranslate preTranslate = {},
                                  DWORD timeoutMs = Win32KeyInputSink::kDefaultTimeoutMs,
                                  Win32KeyInputSink::ComponentWindow componentWindow = {})
        : sink_(std::move(preTranslate), timeoutMs, std::move(componentWindow)) {}
    Win32KeystrokeSender(const Win32KeystrokeSender&) = delete;
    Win32KeystrokeSender& operator=(const Win32KeystrokeSender&) = delete;

    bool SendKeys(std::wstring_view keys) override { return sender_.SendKeys(keys); }

private:
    Win32KeyboardLayout layout_;
    Win32KeyInputSink sink_;
    ParsedKeystrokeSender sender_{layout_, sink_};
};

} // namespace folivex
