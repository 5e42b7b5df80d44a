#pragma once
// What the stand-in announces to the programs that host it, beyond its journal: moments a test
// or a benchmark times from outside without reaching into the component.

namespace folivex::standin {

// Sent (SendMessage, no parameters) to the document view window once the view is complete: made,
// its children in place, sized to the control. A thread-local WH_CALLWNDPROC hook of the
// control's thread sees it at that moment; the view itself ignores it.
inline constexpr wchar_t kDocumentViewReadyMessage[] = L"FolivexStandInDocumentViewReady";

} // namespace folivex::standin
