#include "com/module.h"

#include <atomic>
#include <mutex>
#include <set>
#include <string>

namespace folivex::com {
namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

std::mutex g_classesMutex;
std::set<std::wstring>& RegisteredClasses() {
    static std::set<std::wstring> classes;
    return classes;
}

} // namespace

void Module::ObjectCreated() {
    ++g_objects;
}
void Module::ObjectDestroyed() {
    --g_objects;
}
void Module::Lock() {
    ++g_locks;
}
void Module::Unlock() {
    --g_locks;
}
bool Module::CanUnload() {
    return g_objects == 0 && g_locks == 0;
}
long Module::ObjectCount() {
    return g_objects;
}

HMODULE Module::Handle() {
    static HMODULE module = [] {
        HMODULE found = nullptr;
        ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                 GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCWSTR>(&g_objects), &found);
        return found;
    }();
    return module;
}

const wchar_t* Module::Path() {
    static wchar_t path[MAX_PATH * 2] = {};
    if (!path[0]) {
        ::GetModuleFileNameW(Handle(), path, static_cast<DWORD>(sizeof(path) / sizeof(path[0])));
    }
    return path;
}

void Module::RegisterWindowClass(const wchar_t* name, WNDPROC procedure, UINT style,
                                 HBRUSH background) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = Handle();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (::RegisterClassExW(&wc)) {
        std::lock_guard<std::mutex> lock(g_classesMutex);
        RegisteredClasses().insert(name);
    }
}

void Module::OnDllMain(DWORD reason, LPVOID reserved) {
    // At process exit (reserved set) the classes go with the process.
    if (reason != DLL_PROCESS_DETACH || reserved) {
        return;
    }
    std::lock_guard<std::mutex> lock(g_classesMutex);
    for (const std::wstring& name : RegisteredClasses()) {
        ::UnregisterClassW(name.c_str(), Handle());
    }
    RegisteredClasses().clear();
}

} // namespace folivex::com
