#pragma once
// A form of the kind VB6 and WinForms hosts make, written for the keyboard tests without the
// product's own site code (com/hosted_control), so that a fault there cannot hide here: a
// top-level window holding a plain Edit and one ActiveX control, quick-activated and in-place
// activated on a site of its own (with a frame and a document window) that records what the
// control tells it. Its message loop does
// what those hosts do: a key message goes to the frame's active object first, then through
// IsDialogMessage (Tab between the Edit and the control), then TranslateMessage and
// DispatchMessage.

#include "com/com_ptr.h"
#include "com/unique_handle.h"

#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <string>
#include <vector>

namespace folivex::testing {

class FormSite;

// A key the control passed on to its container through IOleControlSite::TranslateAccelerator.
struct ForwardedKey {
    UINT message = 0;
    WPARAM key = 0;
    DWORD modifiers = 0; // KEYMODIFIERS: 1 Shift, 2 Ctrl, 4 Alt
};

class FormContainer {
public:
    // Creates the form and the control named by `progId`, in place in the form's right part.
    explicit FormContainer(const wchar_t* progId);
    ~FormContainer();
    FormContainer(const FormContainer&) = delete;
    FormContainer& operator=(const FormContainer&) = delete;

    HRESULT CreationResult() const { return creation_; }
    HWND Form() const { return form_.Get(); }
    HWND Edit() const { return edit_.Get(); }
    IUnknown* Control() const { return control_.Get(); }
    // The control's window (IOleWindow::GetWindow).
    HWND ControlWindow() const;

    // What the frame holds: the active object last handed to SetActiveObject, or null.
    IOleInPlaceActiveObject* ActiveObject() const;
    // What its document window holds, the same way.
    IOleInPlaceActiveObject* DocumentActiveObject() const;
    // Site notifications in order: "ui-activate", "ui-deactivate", "focus", "blur".
    const std::vector<std::wstring>& Notifications() const;
    const std::vector<ForwardedKey>& ForwardedKeys() const;
    void ClearRecords();

    // The host's message loop, until `done` holds or `timeoutMs` passed; the result of `done`.
    bool RunUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

private:
    HRESULT Activate(const wchar_t* progId);

    com::UniqueWindow form_;
    com::UniqueWindow edit_;
    com::ComPtr<FormSite> site_;
    com::ComPtr<IUnknown> control_;
    HRESULT creation_ = E_FAIL;
};

// Types the inputs with SendInput into the foreground window.
bool Type(std::vector<INPUT> inputs);
// Clicks the left mouse button at a point of `window`'s client area.
bool ClickAt(HWND window, int x, int y);

} // namespace folivex::testing
