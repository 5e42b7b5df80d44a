#include "tests/windows/opening/opening_fixture.h"

#include "tests/windows/standin/journal_reader.h"

namespace folivex::testing {
namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[512] = {};
    const DWORD n = ::GetEnvironmentVariableW(name, value, 512);
    return n > 0 && n < 512 ? std::wstring(value, n) : std::wstring();
}

} // namespace

std::wstring HttpUrl(const wchar_t* route) {
    const std::wstring base = Environment(L"FOLIVEX_TEST_HTTP_URL");
    return base.empty() ? base : base + route;
}

std::wstring FtpUrl(const wchar_t* route) {
    const std::wstring base = Environment(L"FOLIVEX_TEST_FTP_URL");
    return base.empty() ? base : base + route;
}

HWND ComponentSite(HWND controlWindow) {
    return controlWindow ? ::FindWindowExW(controlWindow, nullptr, L"FolivexControlSite", nullptr)
                         : nullptr;
}

OpeningSession::OpeningSession(Layout layout) {
    journal_ = journalDirectory_.File(L"journal.txt");
    journalSetting_ = std::make_unique<ScopedSetting>(L"FOLIVEX_STANDIN_JOURNAL", journal_.c_str());
    layoutSetting_ = std::make_unique<ScopedSetting>(L"FOLIVEX_STANDIN_LAYOUT",
                                                     layout == Layout::Old ? L"old" : L"new");
    host_ = std::make_unique<ViewerHost>();
    if (host_->Viewer()) {
        host_->Viewer()->put_ReaderVersion(layout == Layout::Old ? 7 : 8);
        com::Bstr temp(temp_.Path());
        host_->Viewer()->put_TempPath(temp.Get());
    }
}

OpeningSession::~OpeningSession() {
    host_.reset();
    PumpPostedMessages();
}

bool OpeningSession::Open(const std::wstring& path) {
    VARIANT_BOOL result = VARIANT_FALSE;
    com::Bstr argument(path);
    if (FAILED(Viewer()->OpenPDF(argument.Get(), &result))) {
        return false;
    }
    return result == VARIANT_TRUE;
}

std::wstring OpeningSession::Path() {
    com::Bstr value;
    Viewer()->get_Path(value.Out());
    return value.ToString();
}

void OpeningSession::SetPath(const std::wstring& path) {
    com::Bstr value(path);
    Viewer()->put_Path(value.Get());
}

long OpeningSession::PageTotal() {
    LONG total = -1;
    Viewer()->get_PageTotal(&total);
    return total;
}

bool OpeningSession::ComponentVisible() {
    HWND site = ComponentSite(host_->ControlWindow());
    return site && (::GetWindowLongW(site, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool OpeningSession::BeginDownload(const std::wstring& url, std::wstring& file) {
    com::Bstr address(url);
    com::Bstr target(file);
    VARIANT_BOOL result = VARIANT_FALSE;
    host_->Viewer()->BeginDownload(address.InOut(), target.InOut(), &result);
    file = target.ToString();
    return result == VARIANT_TRUE;
}

bool OpeningSession::WaitForDownloadComplete() {
    const ULONGLONG end = ::GetTickCount64() + 20000;
    while (::GetTickCount64() < end) {
        if (!EventsOf(kDownloadComplete).empty()) {
            return true;
        }
        PumpMessages(10);
    }
    return false;
}

bool OpeningSession::SaveCopy(const std::wstring& destination, const std::wstring& source) {
    com::Bstr file(destination);
    com::Bstr from(source);
    VARIANT_BOOL result = VARIANT_FALSE;
    Viewer()->SaveCopy(file.InOut(), from.Get(), &result);
    const std::wstring after = file.ToString();
    // strFile is never changed.
    if (after != destination) {
        return false;
    }
    return result == VARIANT_TRUE;
}

void OpeningSession::Terminate() {
    host_->Release();
    PumpPostedMessages();
}

std::vector<RecordedEvent> OpeningSession::EventsOf(ViewerEvent kind) const {
    std::vector<RecordedEvent> found;
    for (const RecordedEvent& event : host_->Events()) {
        if (event.id == kind) {
            found.push_back(event);
        }
    }
    return found;
}

std::vector<DISPID> OpeningSession::EventOrder() const {
    std::vector<DISPID> order;
    for (const RecordedEvent& event : host_->Events()) {
        if (order.empty() || order.back() != event.id) {
            order.push_back(event.id);
        }
    }
    return order;
}

std::vector<std::wstring> OpeningSession::LoadRequests() const {
    std::vector<std::wstring> loads;
    for (const standin::JournalEntry& entry : standin::ReadJournal(journal_)) {
        if (entry.kind == standin::JournalKind::Invoke && entry.member == 2 &&
            !entry.arguments.empty()) {
            loads.push_back(entry.arguments[0].value);
        }
    }
    return loads;
}

} // namespace folivex::testing
