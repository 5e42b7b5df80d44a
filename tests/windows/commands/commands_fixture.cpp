#include "tests/windows/commands/commands_fixture.h"

#include "com/bstr.h"
#include "com/com_ptr.h"

#include <cstring>

namespace folivex::testing {

std::string LayoutName(const ::testing::TestParamInfo<Layout>& info) {
    return info.param.Old() ? "old" : "new";
}

ScopedJournal::ScopedJournal() : path_(directory_.File(L"journal.txt")) {
    setting_ = std::make_unique<ScopedSetting>(L"FOLIVEX_STANDIN_JOURNAL", path_.c_str());
}

std::vector<standin::JournalEntry> ScopedJournal::Entries() const {
    return standin::ReadJournal(path_);
}

std::vector<standin::JournalEntry> ScopedJournal::SinceMark() const {
    std::vector<standin::JournalEntry> all = Entries();
    if (mark_ >= all.size()) {
        return {};
    }
    return std::vector<standin::JournalEntry>(all.begin() + static_cast<std::ptrdiff_t>(mark_),
                                              all.end());
}

std::vector<standin::JournalEntry> ScopedJournal::CallsOf(int member) const {
    std::vector<standin::JournalEntry> calls;
    for (const standin::JournalEntry& entry : SinceMark()) {
        if (entry.kind == standin::JournalKind::Invoke && entry.member == member) {
            calls.push_back(entry);
        }
    }
    return calls;
}

std::vector<std::wstring> ScopedJournal::KeyActions() const {
    std::vector<std::wstring> actions;
    for (const standin::JournalEntry& entry : SinceMark()) {
        if (entry.kind == standin::JournalKind::Key && !entry.arguments.empty()) {
            std::wstring action = entry.arguments[0].value;
            if (entry.arguments.size() > 1) {
                action += L":" + entry.arguments[1].value;
            }
            actions.push_back(action);
        }
    }
    return actions;
}

namespace {

std::string ClassOf(HWND window) {
    char name[256] = {};
    const int n = ::GetClassNameA(window, name, 256);
    return std::string(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string TextOf(HWND window) {
    char text[512] = {};
    const LRESULT n =
        ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

void Collect(HWND root, const char* className, const char* text, std::vector<HWND>& found) {
    for (HWND child = ::GetWindow(root, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == className && (!text || TextOf(child) == text)) {
            found.push_back(child);
        }
        Collect(child, className, text, found);
    }
}

} // namespace

std::vector<HWND> FindViewerWindows(HWND root, const char* className, const char* text) {
    std::vector<HWND> found;
    Collect(root, className, text, found);
    return found;
}

HWND FindViewerWindow(HWND root, const char* className, const char* text, int index) {
    const std::vector<HWND> found = FindViewerWindows(root, className, text);
    return index < static_cast<int>(found.size()) ? found[static_cast<std::size_t>(index)]
                                                  : nullptr;
}

HWND FindByClass(HWND root, const char* className, int index) {
    const std::vector<HWND> found = FindViewerWindows(root, className, nullptr);
    return index < static_cast<int>(found.size()) ? found[static_cast<std::size_t>(index)]
                                                  : nullptr;
}

int WindowWidth(HWND window) {
    RECT bounds = {};
    ::GetWindowRect(window, &bounds);
    return bounds.right - bounds.left;
}

LayoutFixture::LayoutFixture() : layoutSetting_(L"FOLIVEX_STANDIN_LAYOUT", GetParam().name) {}

void LayoutFixture::SetUp() {
    host_ = std::make_unique<ViewerHost>();
    ASSERT_EQ(host_->CreationResult(), S_OK);
    viewer_ = host_->Viewer();
    ASSERT_EQ(viewer_->put_ReaderVersion(GetParam().readerVersion), S_OK);
}

void LayoutFixture::OpenThreePages() {
    ASSERT_TRUE(OpenDocument(viewer_, TestDocument(L"three_pages.pdf")));
    journal_.Mark();
}

} // namespace folivex::testing
