#pragma once
// What the text members drive the component's keyboard with: the keystroke sender (with the
// control's own way of offering keys to the component) and the clipboard the copies come back
// through. One of each per control, kept between calls.

#include "viewer_bridge/text_operations.h"
#include "viewer_bridge/win32_clipboard.h"
#include "viewer_bridge/win32_keystrokes.h"

#include <utility>

namespace folivex {

class TextPart {
public:
    TextPart(Win32KeyInputSink::PreTranslate preTranslate,
             Win32KeyInputSink::ComponentWindow componentWindow)
        : keys_(std::move(preTranslate), Win32KeyInputSink::kDefaultTimeoutMs,
                std::move(componentWindow)) {}
    TextPart(const TextPart&) = delete;
    TextPart& operator=(const TextPart&) = delete;

    // The text operations on the component for one member call.
    TextOperations On(ComponentSite& component) {
        return TextOperations(component, keys_, clipboard_);
    }

private:
    Win32Clipboard clipboard_;
    Win32KeystrokeSender keys_;
};

} // namespace folivex
