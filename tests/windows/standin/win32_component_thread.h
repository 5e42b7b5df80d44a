#pragma once
// The stand-in's window tree on a thread of its own, as components that render off their host's
// thread keep it (FOLIVEX_STANDIN_THREAD=own). Its members still come on the host's thread: the
// work that touches the windows is handed to the window thread and waited for, a bounded time,
// so that a window thread that stops answering makes a member fail rather than hold its caller.
//
// That thread can be made to stop answering: signalling the event named by HangTriggerName()
// makes it sleep FOLIVEX_STANDIN_HANG_MS milliseconds (default 5000), or until the event named
// by WakeName() is signalled, without retrieving any message; the manual-reset event named by
// HungName() is set for as long as it sleeps.

#include "com/unique_handle.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace folivex::standin {

// True when FOLIVEX_STANDIN_THREAD is "own".
bool OwnWindowThreadWanted();

// The names of the hang trigger and of the hung state for the process `processId`; inline, for
// the test programs that pull the trigger.
inline std::wstring HangTriggerName(DWORD processId) {
    return L"FolivexStandInHang." + std::to_wstring(processId);
}
inline std::wstring HungName(DWORD processId) {
    return L"FolivexStandInHung." + std::to_wstring(processId);
}
inline std::wstring WakeName(DWORD processId) {
    return L"FolivexStandInWake." + std::to_wstring(processId);
}

class ComponentThread {
public:
    // How long a member waits for the window thread to take its work.
    static constexpr DWORD kTakeTimeoutMs = 1500;

    ComponentThread();
    // Ends the thread; its remaining windows go with it.
    ~ComponentThread();
    ComponentThread(const ComponentThread&) = delete;
    ComponentThread& operator=(const ComponentThread&) = delete;

    // False when the thread could not be started.
    bool Running() const { return runner_ != nullptr; }
    bool IsCurrent() const { return ::GetCurrentThreadId() == threadId_; }

    // Runs `work` on the window thread (at once when called there) and returns once it has run.
    // Messages sent to the calling thread meanwhile are processed: making a child of the host's
    // window sends the host some. False, with `work` never run, when the thread did not take it
    // within `takeTimeoutMs`. Work it has taken is waited for to its end.
    bool Run(const std::function<void()>& work, DWORD takeTimeoutMs = kTakeTimeoutMs);

private:
    struct Task {
        const std::function<void()>* work = nullptr;
        com::UniqueKernelHandle done;
    };

    static LRESULT CALLBACK RunnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Loop(HANDLE ready);
    void RunTask(std::uint64_t id);

    std::thread thread_;
    DWORD threadId_ = 0;
    HWND runner_ = nullptr;
    com::UniqueKernelHandle hangTrigger_;
    com::UniqueKernelHandle hung_;
    com::UniqueKernelHandle wake_;
    std::mutex mutex_;
    std::map<std::uint64_t, std::shared_ptr<Task>> queued_;
    std::uint64_t nextTask_ = 1;
};

} // namespace folivex::standin
