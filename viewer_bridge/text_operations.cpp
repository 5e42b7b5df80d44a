#include "viewer_bridge/text_operations.h"

namespace folivex {

namespace seq = key_sequence;

// The results of the steps are not looked at: a step that fails leaves the next one to run.

void TextOperations::SelectText() {
    site_.SetFocus();
    keys_.SendKeys(seq::kSelectAll);
}

void TextOperations::DeselectText() {
    site_.SetFocus();
    keys_.SendKeys(seq::kDeselectAll);
}

void TextOperations::CopyAll() {
    site_.SetFocus();
    keys_.SendKeys(seq::kSelectAll);
    keys_.SendKeys(seq::kCopy);
    keys_.SendKeys(seq::kDeselectAll);
}

void TextOperations::CopyToClipboard() {
    clipboard_.Clear();
    CopyAll();
}

std::wstring TextOperations::CopyToString() {
    clipboard_.Clear();
    CopyAll();
    std::wstring text = clipboard_.ReadText();
    clipboard_.Clear();
    return text;
}

void TextOperations::Search(const std::wstring& strSearchFor) {
    const std::wstring text = strSearchFor;
    site_.SetFocus();
    keys_.SendKeys(seq::kOpenSearch);
    if (text.empty()) {
        return;
    }
    keys_.SendKeys(seq::kOpenSearch);
    keys_.SendKeys(text);
    keys_.SendKeys(seq::kStartSearch);
}

} // namespace folivex
