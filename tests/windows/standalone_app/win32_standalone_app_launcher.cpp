#include "tests/windows/standalone_app/win32_standalone_app_launcher.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace folivex::testing {
namespace {

constexpr wchar_t kProgram[] = L"folivex_standalone_app.exe";
constexpr DWORD kPollMs = 10;

bool IsFile(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            size_t slash = path.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring Parent(const std::wstring& folder) {
    size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
}

std::string ReadWholeFile(const std::wstring& path) {
    com::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {};
    }
    std::string content;
    char chunk[4096];
    DWORD read = 0;
    while (::ReadFile(file.Get(), chunk, sizeof(chunk), &read, nullptr) && read > 0) {
        content.append(chunk, read);
    }
    return content;
}

std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            // A line still being written has no end yet; it is read on the next call.
            break;
        }
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Files of this process's own, so parallel tests and repeated runs never share one.
std::wstring UniqueTempFile(const wchar_t* kind) {
    static std::atomic<unsigned> counter{0};
    wchar_t folder[MAX_PATH + 1] = {};
    DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    std::wstring base = length > 0 && length <= MAX_PATH ? std::wstring(folder, length) : L".\\";
    return base + L"folivex_app_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
           std::to_wstring(++counter) + L"_" + kind + L".txt";
}

} // namespace

std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return argument;
    }
    // Backslashes are literal except before a quote, where each must be doubled.
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

StandaloneApp::StandaloneApp() = default;

StandaloneApp::~StandaloneApp() {
    Terminate();
    if (!readyFile_.empty()) {
        ::DeleteFileW(readyFile_.c_str());
        ::DeleteFileW((readyFile_ + L".partial").c_str());
    }
    if (!logFile_.empty()) {
        ::DeleteFileW(logFile_.c_str());
    }
}

std::wstring StandaloneApp::DefaultPath() {
    wchar_t fromEnvironment[MAX_PATH + 1] = {};
    DWORD length =
        ::GetEnvironmentVariableW(L"FOLIVEX_STANDALONE_APP", fromEnvironment, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH) {
        return fromEnvironment;
    }
    std::wstring folder = ProgramFolder();
    if (folder.empty()) {
        return {};
    }
    std::vector<std::wstring> candidates = {
        folder + L"\\" + kProgram,
        Parent(folder) + L"\\standalone_app\\" + kProgram,
    };
    for (std::wstring up = folder; !up.empty(); up = Parent(up)) {
        candidates.push_back(up + L"\\tests\\windows\\standalone_app\\" + kProgram);
    }
    for (const std::wstring& candidate : candidates) {
        if (IsFile(candidate)) {
            return candidate;
        }
    }
    return {};
}

bool StandaloneApp::Start(const std::vector<std::wstring>& arguments, const std::wstring& program) {
    if (process_) {
        return false;
    }
    std::wstring path = program.empty() ? DefaultPath() : program;
    if (path.empty()) {
        return false;
    }
    readyFile_ = UniqueTempFile(L"ready");
    logFile_ = UniqueTempFile(L"log");
    ::DeleteFileW(readyFile_.c_str());
    ::DeleteFileW(logFile_.c_str());
    windows_.clear();

    commandLine_ = QuoteArgument(path);
    for (const std::wstring& argument : arguments) {
        commandLine_ += L" " + QuoteArgument(argument);
    }
    commandLine_ += L" --ready " + QuoteArgument(readyFile_);
    commandLine_ += L" --log " + QuoteArgument(logFile_);

    std::vector<wchar_t> mutableLine(commandLine_.begin(), commandLine_.end());
    mutableLine.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(path.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        return false;
    }
    ::CloseHandle(info.hThread);
    process_.Reset(info.hProcess);
    processId_ = info.dwProcessId;
    return true;
}

bool StandaloneApp::WaitReady(DWORD timeoutMs) {
    if (!process_) {
        return false;
    }
    ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (IsFile(readyFile_)) {
            windows_.clear();
            for (const std::string& line : SplitLines(ReadWholeFile(readyFile_))) {
                windows_.push_back(reinterpret_cast<HWND>(
                    static_cast<std::uintptr_t>(std::strtoull(line.c_str(), nullptr, 10))));
            }
            return !windows_.empty();
        }
        if (::WaitForSingleObject(process_.Get(), kPollMs) == WAIT_OBJECT_0) {
            // It may have written the file just before it ended.
            if (IsFile(readyFile_)) {
                continue;
            }
            return false;
        }
        if (::GetTickCount64() >= deadline) {
            return false;
        }
    }
}

std::vector<std::string> StandaloneApp::ReadLog() const {
    return logFile_.empty() ? std::vector<std::string>() : SplitLines(ReadWholeFile(logFile_));
}

bool StandaloneApp::WaitForLogLine(const std::string& line, DWORD timeoutMs) const {
    ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        bool exited = !Running();
        for (const std::string& logged : ReadLog()) {
            if (logged == line) {
                return true;
            }
        }
        if (exited || ::GetTickCount64() >= deadline) {
            return false;
        }
        ::Sleep(kPollMs);
    }
}

bool StandaloneApp::WaitForWindowGone(HWND window, DWORD timeoutMs) {
    ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (::IsWindow(window)) {
        if (::GetTickCount64() >= deadline) {
            return false;
        }
        ::Sleep(kPollMs);
    }
    return true;
}

bool StandaloneApp::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
    if (!process_ || ::WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode) {
        ::GetExitCodeProcess(process_.Get(), exitCode);
    }
    return true;
}

bool StandaloneApp::Running() const {
    return process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

void StandaloneApp::Terminate() {
    if (Running()) {
        ::TerminateProcess(process_.Get(), 255);
        ::WaitForSingleObject(process_.Get(), 5000);
    }
}

} // namespace folivex::testing
