#pragma once
// Starts folivex_standalone_app.exe for a test, waits until its windows exist, and reads what it
// logged. One object per running app; the destructor ends a still running app and removes the
// ready and log files.

#include "com/unique_handle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace folivex::testing {

class StandaloneApp {
public:
    StandaloneApp();
    StandaloneApp(const StandaloneApp&) = delete;
    StandaloneApp& operator=(const StandaloneApp&) = delete;
    ~StandaloneApp();

    // The program: %FOLIVEX_STANDALONE_APP% if set, else folivex_standalone_app.exe next to the
    // running program, in a sibling standalone_app folder, or in tests\windows\standalone_app
    // below one of its parent folders. Empty when none exists.
    static std::wstring DefaultPath();

    // Starts the app with `arguments` (README.md) plus --ready and --log files of its own.
    // False when the app is already started or could not be started.
    bool Start(const std::vector<std::wstring>& arguments, const std::wstring& program = {});

    // Waits until the app has written its ready file and reads the window handles from it;
    // false if the app exited first or `timeoutMs` passed.
    bool WaitReady(DWORD timeoutMs = 15000);

    // The app's windows in the order the command line asked for them (after WaitReady).
    const std::vector<HWND>& Windows() const { return windows_; }
    HWND Window(size_t index) const { return index < windows_.size() ? windows_[index] : nullptr; }

    // The log lines so far, e.g. "WM_CLOSE Adobe Reader", in the order received.
    std::vector<std::string> ReadLog() const;
    // Waits until the log holds `line` (the whole line); false after `timeoutMs` or on exit
    // without it.
    bool WaitForLogLine(const std::string& line, DWORD timeoutMs = 10000) const;

    // Waits until `window` no longer exists: the app logs WM_NCDESTROY a moment before the
    // handle goes away. False after `timeoutMs`.
    static bool WaitForWindowGone(HWND window, DWORD timeoutMs = 10000);

    // Waits for the app to end; false after `timeoutMs`. `exitCode` receives its status.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
    bool Running() const;
    void Terminate();

    DWORD ProcessId() const { return processId_; }
    HANDLE Process() const { return process_.Get(); }
    const std::wstring& CommandLine() const { return commandLine_; }

private:
    com::UniqueKernelHandle process_;
    DWORD processId_ = 0;
    std::wstring readyFile_;
    std::wstring logFile_;
    std::wstring commandLine_;
    std::vector<HWND> windows_;
};

// One command-line argument quoted so that CommandLineToArgvW gives it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument);

} // namespace folivex::testing
