#pragma once
// Selecting, copying and searching text by driving the component's keyboard: the component is
// given the focus and the keys a user would type are synthesised. Copied text comes back
// through the clipboard.
//
// Every operation carries on past a failing step and reports nothing: with no document, or a
// component that ignores the keys, nothing happens and CopyToString returns "".

#include "viewer_bridge/component_site.h"
#include "viewer_bridge/keystrokes.h"

#include <string>

namespace folivex {

class ClipboardAccess {
public:
    virtual ~ClipboardAccess() = default;
    virtual bool Clear() = 0;
    // The clipboard's plain text; "" when it holds none or cannot be read.
    virtual std::wstring ReadText() = 0;
};

namespace key_sequence {
inline constexpr const wchar_t* kSelectAll = L"^a";
inline constexpr const wchar_t* kDeselectAll = L"+^a";
inline constexpr const wchar_t* kCopy = L"^c";
inline constexpr const wchar_t* kOpenSearch = L"+^f";
inline constexpr const wchar_t* kStartSearch = L"{ENTER}";
} // namespace key_sequence

class TextOperations {
public:
    TextOperations(ComponentSite& site, KeystrokeSender& keys, ClipboardAccess& clipboard)
        : site_(site), keys_(keys), clipboard_(clipboard) {}

    void SelectText();
    void DeselectText();
    // The copied text stays on the clipboard; the selection is removed again.
    void CopyToClipboard();
    // The document's text; the clipboard is left empty.
    std::wstring CopyToString();
    // The text is sent as a keystroke string of its own, unescaped: "+", "^", "%", "~", braces
    // and parentheses in it act as keys, as they always have for hosts. An empty text only opens
    // the component's search.
    void Search(const std::wstring& strSearchFor = std::wstring());

private:
    void CopyAll();

    ComponentSite& site_;
    KeystrokeSender& keys_;
    ClipboardAccess& clipboard_;
};

} // namespace folivex
