// Keyboard focus, UI activation and accelerators: the control between its container and the
// component. Focus given to the control goes on into the component; a click or the focus
// arriving UI-activates the control; keys from the container's loop reach the component's
// active object first.

#include "control/win32_viewer.h"

#include "control/win32_viewer_keep_alive.h"
#include "viewer_bridge/win32_component_host.h"

#include <utility>

namespace folivex {

// Focus moves while the control is torn down too (its windows and the component's go): nothing
// is reported then, and no call may take a reference on an object already being destroyed.
bool Viewer::FocusHandlingLive() const {
    return component_ && ReferenceCount() > 0;
}

void Viewer::ConnectComponentNotifications() {
    if (!component_) {
        return;
    }
    com::HostedControl::Notifications notifications;
    // The component UI-activated itself (a click into it): so are we, in our container.
    notifications.uiActivated = [this] {
        if (FocusHandlingLive()) {
            KeepAlive hold(*this);
            ActivateUI(false);
        }
    };
    notifications.focus = [this](bool gotFocus) {
        if (!FocusHandlingLive()) {
            return;
        }
        KeepAlive hold(*this);
        if (gotFocus) {
            FocusEntered();
        } else if (!OwnsWindow(::GetFocus())) {
            FocusLeft();
        }
    };
    // Keys the component passes on outside our own offer (from a loop of its own, say) go to
    // our container, as every key nobody here wants does.
    notifications.accelerator = [this](MSG& message, DWORD modifiers) -> HRESULT {
        com::ComPtr<IOleControlSite> site;
        if (IOleClientSite* client = ClientSite()) {
            if (SUCCEEDED(client->QueryInterface(IID_PPV_ARGS(&site)))) {
                return site->TranslateAccelerator(&message, modifiers) == S_OK ? S_OK : S_FALSE;
            }
        }
        return S_FALSE;
    };
    component_->Hosted().SetNotifications(std::move(notifications));
}

bool Viewer::WithinComponent(HWND window) const {
    HWND site = component_ ? component_->SiteWindow() : nullptr;
    return site && window && (window == site || ::IsChild(site, window));
}

bool Viewer::OfferKeyToComponent(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !HasComponent() ||
        !WithinComponent(message.hwnd)) {
        return false;
    }
    return component_->Hosted().TranslateAccelerator(message);
}

// Dialog navigation (IsDialogMessage) takes the arrows and the characters from a focus window
// that does not claim them through WM_GETDLGCODE; while the component has the focus they are
// the document's, so such a key is delivered to it here and the container's loop skips it.
bool Viewer::DeliverKeyDialogNavigationWouldTake(MSG& message) {
    if (!WithinComponent(message.hwnd)) {
        return false;
    }
    DWORD wanted = 0;
    if (message.message == WM_KEYDOWN && message.wParam >= VK_LEFT && message.wParam <= VK_DOWN) {
        wanted = DLGC_WANTARROWS;
    } else if (message.message == WM_CHAR && message.wParam >= 0x20) {
        wanted = DLGC_WANTCHARS;
    } else {
        return false;
    }
    const LRESULT code = ::SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam,
                                        reinterpret_cast<LPARAM>(&message));
    if (code & (wanted | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) {
        return false;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    return true;
}

bool Viewer::OfferAccelerator(MSG& message) {
    if (!FocusHandlingLive()) {
        return false;
    }
    KeepAlive hold(*this);
    // A component that does not report its focus: the first key after the focus left shows it.
    if (UIActive() && !OwnsWindow(::GetFocus())) {
        FocusLeft();
        return false;
    }
    return OfferKeyToComponent(message) || DeliverKeyDialogNavigationWouldTake(message);
}

void Viewer::OnSetFocus(HWND previous) {
    if (!FocusHandlingLive()) {
        return;
    }
    KeepAlive hold(*this);
    FocusEntered();
    // The keys are the component's: focus given to the control (by the container, by Tab) goes
    // on into it, unless it just came from there or there is no document shown to take keys.
    if (HasComponent() && component_->Visible() && !WithinComponent(previous)) {
        component_->SetFocus();
    }
}

void Viewer::OnKillFocus(HWND next) {
    if (FocusHandlingLive() && !OwnsWindow(next)) {
        KeepAlive hold(*this);
        FocusLeft();
    }
}

LRESULT Viewer::OnMouseActivate(WPARAM wParam, LPARAM lParam) {
    // Our container and its ancestors decide about activating the top-level window first.
    const LRESULT result = ::DefWindowProcW(window_.Get(), WM_MOUSEACTIVATE, wParam, lParam);
    if (result == MA_NOACTIVATEANDEAT || result == MA_ACTIVATEANDEAT || !FocusHandlingLive()) {
        return result;
    }
    KeepAlive hold(*this);
    // A click anywhere in the control (the component's windows pass this message up to us):
    // UI activation, with the focus in the component unless it took it itself.
    if (OwnsWindow(::GetFocus())) {
        FocusEntered();
    } else if (window_) {
        ::SetFocus(window_.Get());
    }
    return result;
}

} // namespace folivex
