#include "tests/windows/standin/win32_component_thread.h"

#include "com/module.h"
#include "com/window_instance.h"

#include <cwchar>
#include <utility>

namespace folivex::standin {
namespace {

constexpr const wchar_t* kRunnerClass = L"FolivexStandInThreadRunner";
constexpr UINT kRunMessage = WM_APP + 1;
constexpr DWORD kDefaultHangMs = 5000;

std::wstring Variable(const wchar_t* name) {
    wchar_t value[64] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 64);
    return length < 64 ? std::wstring(value, length) : std::wstring();
}

DWORD HangMilliseconds() {
    const std::wstring text = Variable(L"FOLIVEX_STANDIN_HANG_MS");
    wchar_t* end = nullptr;
    const unsigned long value = std::wcstoul(text.c_str(), &end, 10);
    return (text.empty() || *end != L'\0' || value == 0 || value > 600000ul)
               ? kDefaultHangMs
               : static_cast<DWORD>(value);
}

} // namespace

bool OwnWindowThreadWanted() {
    return ::_wcsicmp(Variable(L"FOLIVEX_STANDIN_THREAD").c_str(), L"own") == 0;
}

ComponentThread::ComponentThread()
    : hangTrigger_(
          ::CreateEventW(nullptr, FALSE, FALSE, HangTriggerName(::GetCurrentProcessId()).c_str())),
      hung_(::CreateEventW(nullptr, TRUE, FALSE, HungName(::GetCurrentProcessId()).c_str())),
      wake_(::CreateEventW(nullptr, FALSE, FALSE, WakeName(::GetCurrentProcessId()).c_str())) {
    com::Module::RegisterWindowClass(kRunnerClass, &ComponentThread::RunnerProc);
    com::UniqueKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!ready || !hangTrigger_ || !hung_ || !wake_) {
        return;
    }
    HANDLE readyEvent = ready.Get();
    thread_ = std::thread([this, readyEvent] { Loop(readyEvent); });
    ::WaitForSingleObject(readyEvent, INFINITE);
}

ComponentThread::~ComponentThread() {
    if (thread_.joinable()) {
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
}

void ComponentThread::Loop(HANDLE ready) {
    threadId_ = ::GetCurrentThreadId();
    com::UniqueWindow runner(::CreateWindowExW(0, kRunnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                               nullptr, com::Module::Handle(), this));
    runner_ = runner.Get();
    ::SetEvent(ready);
    if (!runner) {
        return;
    }
    HANDLE trigger = hangTrigger_.Get();
    for (;;) {
        const DWORD woke =
            ::MsgWaitForMultipleObjectsEx(1, &trigger, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            // Busy elsewhere, as a rendering thread can be: nothing sent or posted is retrieved.
            // A wake-up left over from an earlier hang does not cut this one short.
            ::ResetEvent(wake_.Get());
            ::SetEvent(hung_.Get());
            ::WaitForSingleObject(wake_.Get(), HangMilliseconds());
            ::ResetEvent(hung_.Get());
            continue;
        }
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return; // the thread's windows are destroyed as it ends
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

LRESULT CALLBACK ComponentThread::RunnerProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* self = com::WindowInstance<ComponentThread>(window, message, lParam);
    if (message == kRunMessage) {
        if (self) {
            self->RunTask(static_cast<std::uint64_t>(wParam));
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void ComponentThread::RunTask(std::uint64_t id) {
    std::shared_ptr<Task> task;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = queued_.find(id);
        if (found == queued_.end()) {
            return; // its caller gave up on it
        }
        task = std::move(found->second);
        queued_.erase(found);
    }
    (*task->work)();
    ::SetEvent(task->done.Get());
}

bool ComponentThread::Run(const std::function<void()>& work, DWORD takeTimeoutMs) {
    if (IsCurrent() || !Running()) {
        work();
        return true;
    }
    auto task = std::make_shared<Task>();
    task->work = &work;
    task->done.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!task->done) {
        return false;
    }
    std::uint64_t id = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        id = nextTask_++;
        queued_[id] = task;
    }
    // The message carries the task's number only: a task given up on is no longer found.
    if (!::PostMessageW(runner_, kRunMessage, static_cast<WPARAM>(id), 0)) {
        std::lock_guard<std::mutex> lock(mutex_);
        queued_.erase(id);
        return false;
    }
    const ULONGLONG start = ::GetTickCount64();
    HANDLE done = task->done.Get();
    for (;;) {
        const ULONGLONG elapsed = ::GetTickCount64() - start;
        const DWORD left =
            elapsed >= takeTimeoutMs ? 0 : static_cast<DWORD>(takeTimeoutMs - elapsed);
        bool taken = true;
        if (left == 0) {
            std::lock_guard<std::mutex> lock(mutex_);
            taken = queued_.erase(id) == 0;
            if (!taken) {
                return false;
            }
        }
        // Once taken, the work is waited for to its end (a modal dialog may be up in it).
        const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &done, taken && left == 0 ? 50 : left,
                                                         QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            return true;
        }
        // Messages sent to this thread (by window creation under the host's window, by a
        // dialog disabling its owner) are handled inside PeekMessage.
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace folivex::standin
