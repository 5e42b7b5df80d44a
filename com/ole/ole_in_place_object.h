#pragma once
// IOleInPlaceObject and IOleInPlaceActiveObject of com::OleControl: in-place and UI activation,
// the keyboard focus as the container sees it, and the container's keyboard messages.

#include "com/com_ptr.h"
#include "com/ole/control_state.h"

#include <ocidl.h>
#include <olectl.h>

#include <utility>

namespace folivex::com {

template <typename Derived>
class OleObjectUnit;

template <typename Derived>
class OleInPlaceObjectUnit : public IOleInPlaceObject, public IOleInPlaceActiveObject {
public:
    // The modifier flags of IOleControlSite::TranslateAccelerator (KEYMODIFIERS, which not
    // every SDK's headers define).
    static constexpr DWORD kKeyModShift = 0x1;
    static constexpr DWORD kKeyModControl = 0x2;
    static constexpr DWORD kKeyModAlt = 0x4;

    // --- IOleWindow, IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) {
            return E_POINTER;
        }
        *window = Self()->ControlWindow();
        return *window ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
        OleControlState& state = State();
        if (!state.inPlaceActive) {
            return S_OK;
        }
        UIDeactivate();
        state.focusReported = false;
        state.inPlaceActive = false;
        Self()->DetachFromParent();
        ComPtr<IOleInPlaceSite> site = std::move(state.inPlaceSite);
        state.frame.Reset();
        state.uiWindow.Reset();
        if (site) {
            site->OnInPlaceDeactivate();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override {
        OleControlState& state = State();
        if (!state.uiActive) {
            return S_OK;
        }
        state.uiActive = false;
        // The container may deactivate us in place from inside these calls, which drops them.
        ComPtr<IOleInPlaceSite> inPlaceSite = state.inPlaceSite;
        ComPtr<IOleInPlaceFrame> frame = state.frame;
        ComPtr<IOleInPlaceUIWindow> uiWindow = state.uiWindow;
        if (uiWindow) {
            uiWindow->SetActiveObject(nullptr, nullptr);
        }
        if (frame) {
            frame->SetActiveObject(nullptr, nullptr);
        }
        if (inPlaceSite) {
            inPlaceSite->OnUIDeactivate(FALSE);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT) override {
        if (!position) {
            return E_POINTER;
        }
        if (HWND window = Self()->ControlWindow()) {
            ::MoveWindow(window, position->left, position->top, position->right - position->left,
                         position->bottom - position->top, TRUE);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return INPLACE_E_NOTUNDOABLE; }

    // --- IOleInPlaceActiveObject
    // The container's message loop hands us each key message while we are UI active. The
    // control (and what it hosts) sees it first; a key nobody here wants goes on to the
    // container, with the modifiers held, for its own accelerators, Tab and default buttons.
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message) override {
        if (!message) {
            return E_INVALIDARG;
        }
        if (message->message < WM_KEYFIRST || message->message > WM_KEYLAST) {
            return S_FALSE;
        }
        // Held: what runs during the offer may change the site.
        ComPtr<IOleClientSite> clientSite = State().clientSite;
        if (Self()->OfferAccelerator(*message)) {
            return S_OK;
        }
        ComPtr<IOleControlSite> controlSite;
        if (clientSite && SUCCEEDED(clientSite.As(&controlSite)) &&
            controlSite->TranslateAccelerator(message, KeyModifiers()) == S_OK) {
            return S_OK;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

protected:
    ~OleInPlaceObjectUnit() = default;

    // UI activation that starts inside the control (a click, the focus arriving): the container
    // is told and its frame holds our active object. Nothing happens before in-place activation.
    void ActivateUI(bool takeFocus) {
        if (State().inPlaceActive && !State().uiActive) {
            InPlaceActivate(nullptr, nullptr, true, takeFocus);
        }
    }
    // The keyboard focus entered the control's window tree: UI activation, and the container's
    // control site hears of the focus once.
    void FocusEntered() {
        ComPtr<IOleClientSite> clientSite = State().clientSite;
        ActivateUI(false);
        OleControlState& state = State();
        if (!state.focusReported && state.inPlaceActive) {
            state.focusReported = true;
            ComPtr<IOleControlSite> controlSite;
            if (clientSite && SUCCEEDED(clientSite.As(&controlSite))) {
                controlSite->OnFocus(TRUE);
            }
        }
    }
    // The focus left the whole tree: the container hears of it and UI activation ends.
    void FocusLeft() {
        ComPtr<IOleClientSite> clientSite = State().clientSite;
        if (State().focusReported) {
            State().focusReported = false;
            ComPtr<IOleControlSite> controlSite;
            if (clientSite && SUCCEEDED(clientSite.As(&controlSite))) {
                controlSite->OnFocus(FALSE);
            }
        }
        UIDeactivate();
    }
    // True when `window` is the control's window or one of its descendants.
    bool OwnsWindow(HWND window) {
        HWND own = Self()->ControlWindow();
        return own && window && (window == own || ::IsChild(own, window));
    }

private:
    // IOleObject::DoVerb is how a container asks for activation.
    friend class OleObjectUnit<Derived>;

    Derived* Self() { return static_cast<Derived*>(this); }
    OleControlState& State() { return Self()->OleState(); }

    static DWORD KeyModifiers() {
        DWORD modifiers = 0;
        if (::GetKeyState(VK_SHIFT) < 0) {
            modifiers |= kKeyModShift;
        }
        if (::GetKeyState(VK_CONTROL) < 0) {
            modifiers |= kKeyModControl;
        }
        if (::GetKeyState(VK_MENU) < 0) {
            modifiers |= kKeyModAlt;
        }
        return modifiers;
    }

    HRESULT InPlaceActivate(IOleClientSite* site, LPCRECT position, bool uiActivate,
                            bool takeFocus = false) {
        OleControlState& state = State();
        state.closed = false;
        if (!state.inPlaceActive) {
            ComPtr<IOleInPlaceSite> inPlaceSite;
            if (!site || FAILED(site->QueryInterface(IID_PPV_ARGS(&inPlaceSite)))) {
                return OLE_E_NOT_INPLACEACTIVE;
            }
            if (inPlaceSite->CanInPlaceActivate() != S_OK) {
                return E_FAIL;
            }
            inPlaceSite->OnInPlaceActivate();
            HWND parent = nullptr;
            inPlaceSite->GetWindow(&parent);
            RECT pos = {}, clip = {};
            OLEINPLACEFRAMEINFO frameInfo = {};
            frameInfo.cb = sizeof(frameInfo);
            state.frame.Reset();
            state.uiWindow.Reset();
            inPlaceSite->GetWindowContext(&state.frame, &state.uiWindow, &pos, &clip, &frameInfo);
            if (position) {
                pos = *position;
            }
            if (!parent || !Self()->AttachToParent(parent, pos)) {
                inPlaceSite->OnInPlaceDeactivate();
                state.frame.Reset();
                state.uiWindow.Reset();
                return E_FAIL;
            }
            state.inPlaceSite = inPlaceSite;
            state.inPlaceActive = true;
        }
        if (HWND window = Self()->ControlWindow()) {
            ::ShowWindow(window, SW_SHOW);
        }
        if (uiActivate && !state.uiActive && state.inPlaceSite) {
            state.uiActive = true;
            // The container may deactivate us in place from inside these calls, which drops them.
            ComPtr<IOleInPlaceSite> inPlaceSite = state.inPlaceSite;
            ComPtr<IOleInPlaceFrame> frame = state.frame;
            ComPtr<IOleInPlaceUIWindow> uiWindow = state.uiWindow;
            inPlaceSite->OnUIActivate();
            IOleInPlaceActiveObject* active = this;
            if (frame && state.uiActive) {
                frame->SetActiveObject(active, nullptr);
            }
            if (uiWindow && state.uiActive) {
                uiWindow->SetActiveObject(active, nullptr);
            }
        }
        // A UI-active control has the keyboard focus, unless it is already somewhere inside.
        if (uiActivate && takeFocus && state.uiActive) {
            HWND window = Self()->ControlWindow();
            if (window && !OwnsWindow(::GetFocus())) {
                ::SetFocus(window);
            }
        }
        return S_OK;
    }
};

} // namespace folivex::com
