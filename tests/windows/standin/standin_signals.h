#pragma once
// What the stand-in tells the programs that host it, beyond its journal: moments a test or a
// benchmark times from outside without reaching into the component or slowing it down (a hook
// on every message sent would double the cost of the very window work being timed).

namespace folivex::standin {

// Set in the process's environment once the document view is complete (made, its children in
// place, sized to the control): the performance counter's value then, in decimal.
inline constexpr wchar_t kDocumentViewReadyVariable[] = L"FOLIVEX_STANDIN_VIEW_READY_AT";

} // namespace folivex::standin
