#include "tests/windows/opening/win32_linux_cpu.h"

#include "com/unique_handle.h"

#include <windows.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace folivex::testing {
namespace {

// The whole of a /proc file (they report a size of 0, so read to the end).
std::optional<std::string> ReadProcFile(const std::wstring& path) {
    com::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::nullopt;
    }
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    return text;
}

std::vector<std::wstring> Entries(const std::wstring& directory) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    com::UniqueFind find(::FindFirstFileW((directory + L"\\*").c_str(), &data));
    if (!find) {
        return names;
    }
    do {
        if (data.cFileName[0] >= L'0' && data.cFileName[0] <= L'9') {
            names.emplace_back(data.cFileName);
        }
    } while (::FindNextFileW(find.Get(), &data));
    return names;
}

// Seconds on a CPU of one task: schedstat's nanoseconds when the kernel keeps them, else the
// utime and stime ticks of stat (1/100 s).
double TaskSeconds(const std::wstring& task) {
    if (auto schedstat = ReadProcFile(task + L"\\schedstat")) {
        const double nanoseconds = std::strtod(schedstat->c_str(), nullptr);
        if (nanoseconds > 0) {
            return nanoseconds / 1e9;
        }
    }
    auto stat = ReadProcFile(task + L"\\stat");
    if (!stat) {
        return 0.0;
    }
    // Fields after the command name, which is in parentheses and may hold blanks.
    std::istringstream fields(stat->substr(stat->rfind(')') + 1));
    std::string field;
    double ticks = 0.0;
    for (int index = 3; fields >> field && index <= 15; ++index) {
        if (index == 14 || index == 15) {
            ticks += std::strtod(field.c_str(), nullptr);
        }
    }
    return ticks / 100.0;
}

double ProcessSeconds(const std::wstring& process) {
    double total = 0.0;
    for (const std::wstring& task : Entries(process + L"\\task")) {
        total += TaskSeconds(process + L"\\task\\" + task);
    }
    return total;
}

std::string EnvironmentValue(const std::string& variables, const std::string& name) {
    const std::string key = name + "=";
    std::size_t start = 0;
    while (start < variables.size()) {
        const std::size_t end = variables.find('\0', start);
        const std::string entry = variables.substr(start, end - start);
        if (entry.compare(0, key.size(), key) == 0) {
            return entry.substr(key.size());
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return std::string();
}

struct OwnProcesses {
    std::wstring self;       // Z:\proc\<pid> of this process
    std::wstring wineserver; // and of the wineserver of its prefix
};

// The Linux processes of this prefix: every Wine process carries WINEPREFIX in its
// environment, the wineserver included. Ours is the one named after our executable (Linux
// keeps the first 15 characters). "self" will not do: Wine's server opens the files, so
// Z:\proc\self is the wineserver.
OwnProcesses FindOwnProcesses() {
    OwnProcesses own;
    const auto serverEnvironment = ReadProcFile(L"Z:\\proc\\self\\environ");
    if (!serverEnvironment) {
        return own;
    }
    const std::string prefix = EnvironmentValue(*serverEnvironment, "WINEPREFIX");
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring name = module;
    name = name.substr(name.find_last_of(L'\\') + 1).substr(0, 15);
    const std::string comm(name.begin(), name.end()); // executable names here are ASCII
    for (const std::wstring& pid : Entries(L"Z:\\proc")) {
        const std::wstring process = L"Z:\\proc\\" + pid;
        const auto variables = ReadProcFile(process + L"\\environ");
        if (!variables || prefix.empty() || EnvironmentValue(*variables, "WINEPREFIX") != prefix) {
            continue;
        }
        const auto processName = ReadProcFile(process + L"\\comm");
        if (!processName) {
            continue;
        }
        if (processName->rfind("wineserver", 0) == 0) {
            own.wineserver = process;
        } else if (processName->substr(0, processName->find('\n')) == comm) {
            own.self = process;
        }
    }
    return own;
}

} // namespace

std::optional<LinuxCpu> ReadLinuxCpu() {
    static const OwnProcesses own = FindOwnProcesses();
    if (own.self.empty()) {
        return std::nullopt;
    }
    LinuxCpu cpu;
    cpu.process = ProcessSeconds(own.self);
    if (!own.wineserver.empty()) {
        cpu.wineserverFound = true;
        cpu.wineserver = ProcessSeconds(own.wineserver);
    }
    return cpu;
}

} // namespace folivex::testing
