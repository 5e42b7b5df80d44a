#pragma once
// What the stand-in tells the programs that host it, beyond its journal: moments a test or a
// benchmark times from outside without reaching into the component or slowing it down (a hook
// on every message sent would double the cost of the very window work being timed).

#include <windows.h>

#include <cwchar>

namespace folivex::standin {

// Set in the process's environment once the document view is complete (made, its children in
// place, sized to the control): the performance counter's value then, in decimal.
inline constexpr wchar_t kDocumentViewReadyVariable[] = L"FOLIVEX_STANDIN_VIEW_READY_AT";

// That stamp as the process's environment holds it now; 0 when there is none.
inline LONGLONG DocumentViewReadyStamp() {
    wchar_t text[32] = {};
    const DWORD length = ::GetEnvironmentVariableW(kDocumentViewReadyVariable, text, 32);
    return length == 0 || length >= 32 ? 0 : std::wcstoll(text, nullptr, 10);
}

} // namespace folivex::standin
