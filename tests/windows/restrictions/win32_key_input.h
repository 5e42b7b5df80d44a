#pragma once
// Real keyboard input for the save-key tests and the benchmark: a window on a thread of its own
// that records the key messages it receives, and SendInput of key sequences to the foreground
// window.
//
// A low-level keyboard hook runs on the thread that installed it, and only while that thread
// retrieves messages; every wait here therefore pumps the calling thread's messages.

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <vector>

namespace folivex::testing {

struct ReceivedKey {
    UINT message = 0; // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP
    WPARAM key = 0;   // the virtual key
};

// A visible top-level window owned by a second thread, which runs its own message loop.
class KeyReceiver {
public:
    KeyReceiver();
    ~KeyReceiver();
    KeyReceiver(const KeyReceiver&) = delete;
    KeyReceiver& operator=(const KeyReceiver&) = delete;

    HWND Window() const;
    std::vector<ReceivedKey> Keys() const;
    size_t Count() const;
    void Clear();

    // True when `key` arrived as a press or a release (either message kind).
    bool Received(WPARAM key) const;
    bool ReceivedPress(WPARAM key) const;
    bool ReceivedRelease(WPARAM key) const;

    // Pumps the calling thread until the release of `key` has arrived; false after `timeoutMs`.
    bool WaitForRelease(WPARAM key, DWORD timeoutMs = 5000) const;

    struct State;

private:
    std::shared_ptr<State> state_;
    HANDLE thread_ = nullptr;
};

// Makes `window` the foreground window (the target of SendInput) and waits until it is, and
// until no modifier is left down from earlier input; false if that did not happen.
bool MakeForeground(HWND window, DWORD timeoutMs = 3000);

// Presses the modifiers in order, presses and releases `key`, releases the modifiers in reverse.
std::vector<INPUT> Chord(std::initializer_list<WORD> modifiers, WORD key);
// Appends a press and a release of `key`.
void AddTap(std::vector<INPUT>& inputs, WORD key);

// SendInput of every event; false if the platform took fewer.
bool SendKeys(const std::vector<INPUT>& inputs);

// A key no test types otherwise: its release arriving means everything sent before it has been
// delivered (input is delivered in order), so a key that was not seen by then was swallowed.
inline constexpr WORD kSentinelKey = VK_F9;

} // namespace folivex::testing
