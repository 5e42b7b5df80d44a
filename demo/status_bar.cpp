#include "status_bar.h"

#include <commctrl.h>

namespace folivex::demo {

namespace {

constexpr int kPagePart = 0;
constexpr int kZoomPart = 1;

std::wstring Number(std::optional<long> value) {
    return value ? std::to_wstring(*value) : std::wstring(L"-");
}

} // namespace

bool StatusBar::Create(HWND parent, HINSTANCE instance) {
    bar_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                             0, 0, parent, nullptr, instance, nullptr);
    if (!bar_) {
        return false;
    }
    // Bold and about twice the usual size: the readouts are what a glance at the window is for.
    font_.Reset(::CreateFontW(-22, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                              DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    if (font_) {
        ::SendMessageW(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    }
    progress_ = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | PBS_SMOOTH, 0, 0, 0, 0, bar_,
                                  nullptr, instance, nullptr);
    Resize();
    ShowPosition(std::nullopt, std::nullopt, std::nullopt);
    return true;
}

int StatusBar::Height() const {
    RECT rect = {};
    ::GetWindowRect(bar_, &rect);
    return rect.bottom - rect.top;
}

void StatusBar::Resize() {
    // The bar places itself at the parent's bottom edge on any WM_SIZE.
    ::SendMessageW(bar_, WM_SIZE, 0, 0);
    LayOutParts();
}

void StatusBar::LayOutParts() {
    RECT client = {};
    ::GetClientRect(bar_, &client);
    // Page, zoom, then the progress bar while downloading, the message in the rest.
    int edges[4] = {230, 400, 0, -1};
    int parts = 3;
    if (downloading_) {
        edges[2] = 620;
        parts = 4;
    }
    edges[parts - 1] = -1;
    ::SendMessageW(bar_, SB_SETPARTS, parts, reinterpret_cast<LPARAM>(edges));
    const int messagePart = parts - 1;
    ::SendMessageW(bar_, SB_SETTEXTW, messagePart, reinterpret_cast<LPARAM>(message_.c_str()));
    if (downloading_) {
        RECT rect = {};
        ::SendMessageW(bar_, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&rect));
        ::InflateRect(&rect, -2, -2);
        ::MoveWindow(progress_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     TRUE);
    }
    ::ShowWindow(progress_, downloading_ ? SW_SHOW : SW_HIDE);
}

void StatusBar::ShowPosition(std::optional<long> page, std::optional<long> pageTotal,
                             std::optional<short> zoomPercent) {
    std::wstring pageText = L"Page " + Number(page) + L" of " + Number(pageTotal);
    std::wstring zoomText =
        L"Zoom " + (zoomPercent ? std::to_wstring(*zoomPercent) + L"%" : std::wstring(L"-"));
    // Unchanged text is not set again: the poll runs twice a second and would make it flicker.
    if (pageText + L"|" + zoomText == positionText_) {
        return;
    }
    positionText_ = pageText + L"|" + zoomText;
    ::SendMessageW(bar_, SB_SETTEXTW, kPagePart, reinterpret_cast<LPARAM>(pageText.c_str()));
    ::SendMessageW(bar_, SB_SETTEXTW, kZoomPart, reinterpret_cast<LPARAM>(zoomText.c_str()));
}

void StatusBar::ShowMessage(const std::wstring& text) {
    message_ = text;
    const int messagePart = downloading_ ? 3 : 2;
    ::SendMessageW(bar_, SB_SETTEXTW, messagePart, reinterpret_cast<LPARAM>(message_.c_str()));
}

void StatusBar::ShowFailure(const std::wstring& text) {
    // A failure stays until the next message, and a beep draws the eye to it.
    ::MessageBeep(MB_ICONWARNING);
    ShowMessage(text);
}

void StatusBar::BeginProgress() {
    downloading_ = true;
    ::SendMessageW(progress_, PBM_SETRANGE32, 0, 100);
    ::SendMessageW(progress_, PBM_SETPOS, 0, 0);
    LayOutParts();
}

void StatusBar::SetProgress(long current, long maximum) {
    if (!downloading_) {
        BeginProgress();
    }
    int percent = 0;
    if (maximum > 0) {
        const long long scaled = static_cast<long long>(current) * 100 / maximum;
        percent = static_cast<int>(scaled < 0 ? 0 : (scaled > 100 ? 100 : scaled));
    } else {
        // Unknown size: step so that the bar still shows something is arriving.
        percent = static_cast<int>((::SendMessageW(progress_, PBM_GETPOS, 0, 0) + 5) % 100);
    }
    ::SendMessageW(progress_, PBM_SETPOS, percent, 0);
    // The download runs inside the Viewer's own message loop: paint now, not when it ends.
    ::UpdateWindow(progress_);
    ::UpdateWindow(bar_);
}

void StatusBar::EndProgress() {
    downloading_ = false;
    LayOutParts();
}

} // namespace folivex::demo
