#include "viewer_bridge/win32_keystrokes.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace folivex {
namespace {

// Extra information of our injected events: "FV" in the high half, then a marker bit and the
// batch number. 32 bits, so it fits ULONG_PTR on both architectures.
constexpr ULONG_PTR kTagBase = 0x46560000u;
constexpr ULONG_PTR kTagMask = 0xFFFF0000u;
constexpr ULONG_PTR kMarkerBit = 0x8000u;
constexpr ULONG_PTR kBatchMask = 0x7FFFu;

// The batches of this thread, and which of the last 64 have had their marker seen. A nested
// delivery (a host handler calling in while we pump) may retrieve an outer batch's marker; the
// outer wait finds it here. Trivially destructible, as thread-locals in a library should be.
thread_local std::uint32_t t_nextBatch = 0;
thread_local std::uint64_t t_markersSeen = 0;

std::uint64_t BatchBit(std::uint32_t batch) {
    return std::uint64_t{1} << (batch % 64);
}

ULONG_PTR Tag(std::uint32_t batch, bool marker) {
    return kTagBase | (marker ? kMarkerBit : 0) | (batch & kBatchMask);
}

bool IsExtendedKey(std::uint16_t vk) {
    return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE ||
           vk == VK_DIVIDE || vk == VK_NUMLOCK;
}

INPUT ToInput(const KeyInput& key, ULONG_PTR tag) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.dwExtraInfo = tag;
    if (key.kind == KeyInput::Kind::Unicode) {
        input.ki.wScan = key.code;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
    } else {
        input.ki.wVk = key.code;
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key.code, MAPVK_VK_TO_VSC));
        if (IsExtendedKey(key.code)) {
            input.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
        }
    }
    if (key.up) {
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
    }
    return input;
}

// After a partial injection, the modifiers the injected part pressed and did not release are
// released, so no Ctrl or Shift is left held for the user.
void ReleaseStrandedModifiers(std::span<const KeyInput> injected) {
    bool held[3] = {false, false, false};
    const std::uint16_t modifiers[3] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    for (const KeyInput& key : injected) {
        for (int i = 0; i < 3; ++i) {
            if (key.kind == KeyInput::Kind::VirtualKey && key.code == modifiers[i]) {
                held[i] = !key.up;
            }
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (held[i]) {
            INPUT input = ToInput({KeyInput::Kind::VirtualKey, modifiers[i], true}, 0);
            ::SendInput(1, &input, sizeof(INPUT));
        }
    }
}

// Detaches the input of two threads again, if this delivery attached it.
class ThreadInputAttachment {
public:
    ThreadInputAttachment(DWORD thread, bool attach)
        : thread_(thread),
          attached_(attach && ::AttachThreadInput(::GetCurrentThreadId(), thread, TRUE)) {}
    ~ThreadInputAttachment() {
        if (attached_) {
            ::AttachThreadInput(::GetCurrentThreadId(), thread_, FALSE);
        }
    }
    ThreadInputAttachment(const ThreadInputAttachment&) = delete;
    ThreadInputAttachment& operator=(const ThreadInputAttachment&) = delete;

private:
    DWORD thread_;
    bool attached_;
};

bool ForegroundIsThisThread() {
    const HWND foreground = ::GetForegroundWindow();
    return foreground != nullptr &&
           ::GetWindowThreadProcessId(foreground, nullptr) == ::GetCurrentThreadId();
}

// Marks the key pressed or released in `state` (and the thread's keyboard state, which the
// component reads), and makes the key message a keyboard would: WM_SYSKEY* with Alt and no Ctrl,
// the scan code, the extended, context and transition bits.
void PressInKeyboardState(const KeyInput& key, BYTE state[256], MSG& message) {
    const auto vk = static_cast<BYTE>(key.code);
    const BYTE pressed = key.up ? 0 : 0x80;
    state[vk] = pressed;
    if (vk == VK_SHIFT) {
        state[VK_LSHIFT] = pressed;
    } else if (vk == VK_CONTROL) {
        state[VK_LCONTROL] = pressed;
    } else if (vk == VK_MENU) {
        state[VK_LMENU] = pressed;
    }
    ::SetKeyboardState(state);
    const bool alt = (state[VK_MENU] & 0x80) != 0;
    const bool control = (state[VK_CONTROL] & 0x80) != 0;
    const bool system = vk == VK_MENU || (alt && !control);
    const UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) & 0xFF;
    LPARAM flags = 1 | static_cast<LPARAM>(scan << 16);
    if (IsExtendedKey(vk)) {
        flags |= LPARAM{1} << 24;
    }
    if (alt) {
        flags |= LPARAM{1} << 29;
    }
    if (key.up) {
        flags |= static_cast<LPARAM>(0xC0000000u);
    }
    message.message =
        system ? (key.up ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (key.up ? WM_KEYUP : WM_KEYDOWN);
    message.wParam = vk;
    message.lParam = flags;
}

// The thread's key state for one delivery: a copy of the state at its start with the modifiers
// let go (only the keys the delivery presses are released again: a user's own held keys stay),
// and the state at its start put back at its end.
class DeliveryKeyState {
public:
    DeliveryKeyState() {
        if (haveSaved_) {
            std::copy(std::begin(saved_), std::end(saved_), std::begin(state_));
        }
        for (const std::uint16_t modifier : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LSHIFT, VK_RSHIFT,
                                             VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU}) {
            state_[modifier] = static_cast<BYTE>(state_[modifier] & ~0x80);
        }
    }
    ~DeliveryKeyState() {
        if (haveSaved_) {
            ::SetKeyboardState(saved_);
        }
    }
    DeliveryKeyState(const DeliveryKeyState&) = delete;
    DeliveryKeyState& operator=(const DeliveryKeyState&) = delete;

    BYTE* State() { return state_; }

private:
    BYTE saved_[256] = {};
    BYTE state_[256] = {};
    bool haveSaved_ = ::GetKeyboardState(saved_) != FALSE;
};

} // namespace

std::optional<LayoutKey> Win32KeyboardLayout::KeyFor(char32_t character) const {
    if (character > 0xFFFF) {
        return std::nullopt;
    }
    const SHORT scan = ::VkKeyScanW(static_cast<WCHAR>(character));
    if (scan == -1) {
        return std::nullopt;
    }
    const auto bits = static_cast<std::uint16_t>(scan);
    const auto shiftState = static_cast<std::uint8_t>(bits >> 8);
    if (shiftState & ~0x07u) {
        return std::nullopt; // needs a layout-specific modifier we cannot press
    }
    LayoutKey key{static_cast<std::uint16_t>(bits & 0xFF)};
    key.shift = (shiftState & 1) != 0;
    key.control = (shiftState & 2) != 0;
    key.alt = (shiftState & 4) != 0;
    return key;
}

bool Win32KeyInputSink::Deliver(std::span<const KeyInput> inputs) {
    if (inputs.empty()) {
        return true;
    }
    if (const HWND component = componentWindow_ ? componentWindow_() : nullptr;
        component && ::IsWindow(component) &&
        ::GetWindowThreadProcessId(component, nullptr) != ::GetCurrentThreadId()) {
        return DeliverToComponentThread(inputs, component);
    }
    if (!ForegroundIsThisThread()) {
        // Injected input would go to another thread's window (a console script host has no
        // active window of ours at all): hand the keys to our own focus window instead. With
        // none, nothing of ours can take them, and typing them would type into another program.
        return ::GetFocus() != nullptr && DeliverToFocus(inputs);
    }
    const std::uint32_t batch = t_nextBatch++ & kBatchMask;
    t_markersSeen &= ~BatchBit(batch);

    std::vector<INPUT> events;
    events.reserve(inputs.size());
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        events.push_back(ToInput(inputs[i], Tag(batch, i + 1 == inputs.size())));
    }
    const UINT count = static_cast<UINT>(events.size());
    const UINT sent = ::SendInput(count, events.data(), sizeof(INPUT));
    if (sent < count) {
        ReleaseStrandedModifiers(inputs.first(sent));
        return false;
    }
    return WaitForMarker(batch);
}

// Each key becomes the message the input system would have made of it, dispatched at once to
// whichever of our windows has the focus at that moment (a key may move it, as Shift+Ctrl+F
// moves it into a search box). The thread's key state is set around each key, so that the
// window sees the modifiers held through GetKeyState, and is restored afterwards.
bool Win32KeyInputSink::DeliverToFocus(std::span<const KeyInput> inputs) {
    DeliveryKeyState keys;
    BYTE* state = keys.State();
    bool delivered = true;
    for (const KeyInput& key : inputs) {
        const HWND focus = ::GetFocus();
        if (!focus) {
            delivered = false;
            break;
        }
        MSG message = {};
        message.hwnd = focus;
        message.time = static_cast<DWORD>(::GetMessageTime());
        ::GetCursorPos(&message.pt);
        if (key.kind == KeyInput::Kind::Unicode) {
            if (key.up) {
                continue;
            }
            message.message = WM_CHAR;
            message.wParam = key.code;
            message.lParam = 1;
            Dispatch(message);
            DrainPosted();
            continue;
        }
        PressInKeyboardState(key, state, message);
        Dispatch(message);
        DrainPosted();
    }
    return delivered;
}

bool Win32KeyInputSink::ThreadRecentlyHung(DWORD thread) const {
    return thread == hungThread_ && ::GetTickCount64() - hungSince_ < kHungThreadPauseMs;
}

bool Win32KeyInputSink::SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    if (ThreadRecentlyHung(thread)) {
        return false;
    }
    DWORD_PTR result = 0;
    // Messages sent to this thread meanwhile (the component's focus change tells our windows)
    // are handled while waiting.
    if (::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                              kAnswerTimeoutMs, &result)) {
        return true;
    }
    if (::IsWindow(window)) {
        hungThread_ = thread;
        hungSince_ = ::GetTickCount64();
    }
    return false;
}

bool Win32KeyInputSink::DeliverToComponentThread(std::span<const KeyInput> inputs, HWND component) {
    const DWORD thread = ::GetWindowThreadProcessId(component, nullptr);
    // Asked first with a message that does nothing: the focus change below sends the thread
    // messages without a timeout, and must not be tried on a thread that does not answer.
    if (!SendBounded(component, WM_NULL, 0, 0)) {
        return false;
    }
    // Windows attaches the input of a child's thread to its parent's by itself; where that has
    // not happened (Wine does not), it is attached here for the delivery, so that the focus can
    // be set and the component reads the key state this delivery sets.
    const HWND sharedFocus = ::GetFocus();
    const bool alreadyShared =
        sharedFocus && ::GetWindowThreadProcessId(sharedFocus, nullptr) == thread;
    ThreadInputAttachment attachment(thread, !alreadyShared);
    const auto inside = [component](HWND window) {
        return window && (window == component || ::IsChild(component, window));
    };
    if (!inside(::GetFocus())) {
        ::SetFocus(component);
    }
    DeliveryKeyState keys;
    BYTE* state = keys.State();
    bool delivered = true;
    for (const KeyInput& key : inputs) {
        // A key may move the focus (into a search box): each goes where the focus is now.
        const HWND focus = ::GetFocus();
        if (!inside(focus)) {
            delivered = false;
            break;
        }
        if (key.kind == KeyInput::Kind::Unicode) {
            if (!key.up && !SendBounded(focus, WM_CHAR, key.code, 1)) {
                delivered = false;
                break;
            }
            continue;
        }
        MSG message = {};
        message.hwnd = focus;
        PressInKeyboardState(key, state, message);
        message.time = static_cast<DWORD>(::GetMessageTime());
        ::GetCursorPos(&message.pt);
        // The component's active object sees each key first, as in a container's loop.
        if (preTranslate_ && preTranslate_(message)) {
            continue;
        }
        if (!SendBounded(focus, message.message, message.wParam, message.lParam)) {
            delivered = false;
            break;
        }
        // The character the key makes, sent rather than posted by TranslateMessage, so that it
        // too has been processed when the delivery returns.
        if (!key.up && message.message == WM_KEYDOWN) {
            wchar_t typed[4] = {};
            const auto vk = static_cast<UINT>(message.wParam);
            const auto scan = static_cast<UINT>((message.lParam >> 16) & 0xFF);
            if (::ToUnicode(vk, scan, state, typed, 4, 0) == 1 &&
                !SendBounded(::GetFocus(), WM_CHAR, typed[0], message.lParam)) {
                delivered = false;
                break;
            }
        }
    }
    return delivered;
}

bool Win32KeyInputSink::WaitForMarker(std::uint32_t batch) {
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
                // Read before dispatching: a nested pump would replace it.
                const auto extra = static_cast<ULONG_PTR>(::GetMessageExtraInfo());
                if ((extra & kTagMask) == kTagBase && (extra & kMarkerBit) != 0) {
                    t_markersSeen |= BatchBit(static_cast<std::uint32_t>(extra & kBatchMask));
                }
            }
            Dispatch(message);
            if (t_markersSeen & BatchBit(batch)) {
                DrainPosted();
                return true;
            }
        }
        const ULONGLONG elapsed = ::GetTickCount64() - start;
        if (elapsed >= timeoutMs_) {
            return false;
        }
        ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(timeoutMs_ - elapsed),
                                      QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

void Win32KeyInputSink::Dispatch(MSG& message) {
    if (preTranslate_ && preTranslate_(message)) {
        return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

// What the keys caused and posted (the characters TranslateMessage made, the component's own
// follow-up messages) runs before the caller goes on; bounded, so a window that keeps posting
// to itself cannot hold us.
void Win32KeyInputSink::DrainPosted() {
    constexpr int kMaxMessages = 256;
    MSG message;
    for (int i = 0;
         i < kMaxMessages &&
         ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE);
         ++i) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Dispatch(message);
    }
}

} // namespace folivex
