#include "tests/windows/restrictions/win32_key_input.h"

#include "tests/windows/support/test_window.h"

#include <algorithm>
#include <mutex>

namespace folivex::testing {

struct KeyReceiver::State {
    mutable std::mutex mutex;
    std::vector<ReceivedKey> keys;
    HWND window = nullptr;
    HANDLE ready = nullptr;
};

namespace {

constexpr const wchar_t* kReceiverClass = L"FolivexKeyReceiver";
constexpr const wchar_t* kStateProperty = L"FolivexKeyReceiverState";

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
        auto* state = static_cast<KeyReceiver::State*>(::GetPropW(window, kStateProperty));
        if (state) {
            std::lock_guard<std::mutex> lock(state->mutex);
            state->keys.push_back({message, wParam});
        }
        // Not passed on: an Alt release would otherwise start the menu loop.
        return 0;
    }
    case WM_DESTROY:
        ::RemovePropW(window, kStateProperty);
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

DWORD WINAPI ReceiverThread(void* parameter) {
    auto* state = static_cast<KeyReceiver::State*>(parameter);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(::GetModuleHandleW(nullptr), kReceiverClass, &wc)) {
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = ReceiverProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kReceiverClass;
        ::RegisterClassExW(&wc);
    }
    HWND window = ::CreateWindowExW(0, kReceiverClass, L"Folivex key receiver",
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 300, 200, nullptr,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window) {
        ::SetPropW(window, kStateProperty, state);
    }
    state->window = window;
    ::SetEvent(state->ready);
    if (!window) {
        return 1;
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

bool ModifierDown() {
    for (int key : {VK_CONTROL, VK_SHIFT, VK_MENU}) {
        if (::GetAsyncKeyState(key) & 0x8000) {
            return true;
        }
    }
    return false;
}

INPUT KeyEvent(WORD key, bool release) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

} // namespace

KeyReceiver::KeyReceiver() : state_(std::make_shared<State>()) {
    state_->ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = ::CreateThread(nullptr, 0, ReceiverThread, state_.get(), 0, nullptr);
    if (thread_) {
        ::WaitForSingleObject(state_->ready, 10000);
    }
}

KeyReceiver::~KeyReceiver() {
    if (thread_) {
        if (state_->window) {
            ::PostMessageW(state_->window, WM_CLOSE, 0, 0);
        }
        // The receiver thread's window may be sent messages by this thread's windows meanwhile.
        while (::MsgWaitForMultipleObjects(1, &thread_, FALSE, 10000, QS_ALLINPUT) ==
               WAIT_OBJECT_0 + 1) {
            PumpMessages(1);
        }
        ::CloseHandle(thread_);
    }
    if (state_->ready) {
        ::CloseHandle(state_->ready);
    }
}

HWND KeyReceiver::Window() const {
    return state_->window;
}

std::vector<ReceivedKey> KeyReceiver::Keys() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->keys;
}

size_t KeyReceiver::Count() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->keys.size();
}

void KeyReceiver::Clear() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->keys.clear();
}

bool KeyReceiver::Received(WPARAM key) const {
    return ReceivedPress(key) || ReceivedRelease(key);
}

bool KeyReceiver::ReceivedPress(WPARAM key) const {
    const auto keys = Keys();
    return std::any_of(keys.begin(), keys.end(), [key](const ReceivedKey& k) {
        return k.key == key && (k.message == WM_KEYDOWN || k.message == WM_SYSKEYDOWN);
    });
}

bool KeyReceiver::ReceivedRelease(WPARAM key) const {
    const auto keys = Keys();
    return std::any_of(keys.begin(), keys.end(), [key](const ReceivedKey& k) {
        return k.key == key && (k.message == WM_KEYUP || k.message == WM_SYSKEYUP);
    });
}

bool KeyReceiver::WaitForRelease(WPARAM key, DWORD timeoutMs) const {
    const DWORD start = ::GetTickCount();
    while (!ReceivedRelease(key)) {
        if (::GetTickCount() - start >= timeoutMs) {
            return false;
        }
        PumpMessages(2);
    }
    return true;
}

bool MakeForeground(HWND window, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    ::SetForegroundWindow(window);
    while (::GetForegroundWindow() != window || ModifierDown()) {
        if (::GetTickCount() - start >= timeoutMs) {
            return false;
        }
        if (ModifierDown()) {
            // A modifier still down from earlier input would change what the next keys mean.
            std::vector<INPUT> releases;
            for (WORD key : {WORD{VK_CONTROL}, WORD{VK_SHIFT}, WORD{VK_MENU}}) {
                releases.push_back(KeyEvent(key, true));
            }
            SendKeys(releases);
        }
        PumpMessages(10);
        ::SetForegroundWindow(window);
    }
    return true;
}

std::vector<INPUT> Chord(std::initializer_list<WORD> modifiers, WORD key) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) {
        inputs.push_back(KeyEvent(modifier, false));
    }
    AddTap(inputs, key);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
        inputs.push_back(KeyEvent(*it, true));
    }
    return inputs;
}

void AddTap(std::vector<INPUT>& inputs, WORD key) {
    inputs.push_back(KeyEvent(key, false));
    inputs.push_back(KeyEvent(key, true));
}

bool SendKeys(const std::vector<INPUT>& inputs) {
    if (inputs.empty()) {
        return true;
    }
    std::vector<INPUT> copy = inputs;
    const UINT sent = ::SendInput(static_cast<UINT>(copy.size()), copy.data(), sizeof(INPUT));
    return sent == copy.size();
}

} // namespace folivex::testing
