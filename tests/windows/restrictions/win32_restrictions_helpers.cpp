#include "tests/windows/restrictions/win32_restrictions_helpers.h"

#include "tests/windows/support/test_settings.h"
#include "tests/windows/support/test_window.h"
#include "tests/windows/support/viewer_calls.h"

namespace folivex {
namespace {

constexpr const wchar_t* kComponentWindowClass = L"FolivexStandInViewer";

struct ClassSearch {
    const wchar_t* name;
    HWND found;
};

BOOL CALLBACK FindClass(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ClassSearch*>(parameter);
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    if (::lstrcmpW(name, search->name) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

VARIANT_BOOL SaveKeysValue(testing::ViewerHost& viewer) {
    VARIANT_BOOL value = 1; // neither True nor False: a get that wrote nothing shows
    viewer.Viewer()->get_DisableSaveKeys(&value);
    return value;
}

bool TypeInto(testing::KeyReceiver& receiver, std::vector<INPUT> keys) {
    if (!testing::MakeForeground(receiver.Window())) {
        return false;
    }
    receiver.Clear();
    testing::AddTap(keys, testing::kSentinelKey);
    return testing::SendKeys(keys) && receiver.WaitForRelease(testing::kSentinelKey);
}

bool OpenDocument(testing::ViewerHost& viewer, const wchar_t* name) {
    return viewer.Viewer() && testing::OpenDocument(viewer.Viewer(), testing::TestDocument(name));
}

HWND FocusComponent(testing::ViewerHost& viewer) {
    ClassSearch search = {kComponentWindowClass, nullptr};
    ::EnumChildWindows(viewer.HostWindow(), FindClass, reinterpret_cast<LPARAM>(&search));
    if (!search.found || !testing::MakeForeground(viewer.HostWindow())) {
        return nullptr;
    }
    ::SetFocus(search.found);
    const HWND component = search.found;
    testing::PumpUntil([component] { return ::GetFocus() == component; }, 2000);
    return ::GetFocus() == search.found ? search.found : nullptr;
}

bool JournalHas(const std::wstring& journal, const JournalMatch& match) {
    for (const auto& entry : standin::ReadJournal(journal)) {
        if (entry.kind == match.kind && !entry.arguments.empty() &&
            entry.arguments[0].value == match.value) {
            return true;
        }
    }
    return false;
}

bool WaitForJournal(const std::wstring& journal, const JournalMatch& match, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!JournalHas(journal, match)) {
        if (::GetTickCount() - start >= timeoutMs) {
            return false;
        }
        testing::PumpMessages(10);
    }
    return true;
}

bool StillOpenAfter(HWND window, DWORD milliseconds) {
    testing::PumpMessages(milliseconds);
    return ::IsWindow(window) != FALSE;
}

bool GoneWhilePumping(HWND window, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (::IsWindow(window)) {
        if (::GetTickCount64() >= deadline) {
            return false;
        }
        testing::PumpMessages(10);
    }
    return true;
}

} // namespace folivex
