#pragma once
// An in-memory dialog template like the viewer's own dialogs, as the dialog suppression meets
// them: a top-level "#32770" with a caption, visible at creation, no controls.

#include <windows.h>

#include <vector>

namespace folivex::testing {

inline std::vector<WORD> TitledDialogTemplate(const wchar_t* title) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
    header->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    header->cx = 120;
    header->cy = 40;
    words.push_back(0); // no menu
    words.push_back(0); // the dialog class
    for (const wchar_t* c = title; *c; ++c) {
        words.push_back(static_cast<WORD>(*c));
    }
    words.push_back(0);
    return words;
}

} // namespace folivex::testing
