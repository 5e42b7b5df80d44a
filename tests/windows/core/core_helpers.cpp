#include "tests/windows/core/core_helpers.h"

#include "com/bstr.h"
#include "com/com_ptr.h"

#include <oleauto.h>

namespace folivex::testing {

ScopedJournal::ScopedJournal() : path_(directory_.File(L"journal.txt")) {
    setting_ = std::make_unique<ScopedSetting>(L"FOLIVEX_STANDIN_JOURNAL", path_.c_str());
}

std::vector<standin::JournalEntry> ScopedJournal::Entries() const {
    return standin::ReadJournal(path_);
}

std::vector<standin::JournalEntry> ScopedJournal::CallsOf(int member) const {
    std::vector<standin::JournalEntry> calls;
    for (const standin::JournalEntry& entry : Entries()) {
        if (entry.kind == standin::JournalKind::Invoke && entry.member == member) {
            calls.push_back(entry);
        }
    }
    return calls;
}

HWND ComponentSiteWindow(HWND control) {
    for (HWND child = ::GetWindow(control, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        ::GetClassNameW(child, name, 64);
        if (::lstrcmpiW(name, L"Static") != 0) {
            return child;
        }
    }
    return nullptr;
}

RECT RectInParent(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

namespace {

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM counter) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId()) {
        ++*reinterpret_cast<int*>(counter);
    }
    return TRUE;
}

} // namespace

int CountProcessTopLevelWindows() {
    int count = 0;
    ::EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::wstring CopyTestDocument(const ScratchDirectory& directory, const wchar_t* name,
                              const wchar_t* as, DWORD attributes) {
    const std::wstring target = directory.File(as);
    ::CopyFileW(TestDocument(name).c_str(), target.c_str(), FALSE);
    ::SetFileAttributesW(target.c_str(), attributes);
    return target;
}

std::wstring TempPathOf(_Viewer* viewer) {
    com::Bstr value;
    viewer->get_TempPath(value.Out());
    return value.ToString();
}

} // namespace folivex::testing
