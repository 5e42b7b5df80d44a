#pragma once
// Hosting an ActiveX control inside a window of ours: a site window, a real OLE container site
// (client site, in-place site and frame, control site, ambient properties with UserMode True,
// service requests passed on to an outer provider), creation by ProgID, in-place activation and
// orderly teardown. Used for the control's embedded viewer component and by the test container.

#include "com/com_ptr.h"
#include "com/unique_handle.h"

#include <ocidl.h>
#include <servprov.h>

#include <cstdint>
#include <functional>

namespace folivex::com {

class HostedControl {
public:
    // The outer container's service provider, or null.
    using OuterServices = std::function<ComPtr<IServiceProvider>()>;

    // Creates a hidden site window named `siteName` filling `parent`, and the control named by
    // `progId` in it. When the control cannot be created the host still exists: CreationResult()
    // tells why and Object() is null.
    HostedControl(HWND parent, const wchar_t* progId, const wchar_t* siteName,
                  OuterServices outerServices);
    ~HostedControl();
    HostedControl(const HostedControl&) = delete;
    HostedControl& operator=(const HostedControl&) = delete;

    HRESULT CreationResult() const { return creationResult_; }
    HWND SiteWindow() const { return siteWindow_.Get(); }
    IOleObject* Object() const { return object_.Get(); }
    IDispatch* Dispatch() const { return dispatch_.Get(); }
    // The hosted control's own window, or null.
    HWND ControlWindow() const;

    void Show(bool visible);
    bool Visible() const;
    // Moves the site window (in the parent's client coordinates); the control fills it.
    void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
    std::int32_t Top() const;
    // UI-activates the control and gives its window the keyboard focus.
    bool Focus();

    // What the hosted control tells its site that the owner of this host wants to hear of.
    struct Notifications {
        // The control UI-activated itself (a click into it, say).
        std::function<void()> uiActivated;
        // The control's window gained or lost the keyboard focus.
        std::function<void(bool gotFocus)> focus;
        // A key the control passed on to its container that no offer of ours is waiting for
        // (IOleControlSite::TranslateAccelerator); S_OK when the owner's container took it.
        std::function<HRESULT(MSG& message, DWORD modifiers)> accelerator;
    };
    void SetNotifications(Notifications notifications);

    // The active object the control handed to its frame on UI activation, or null.
    IOleInPlaceActiveObject* ActiveObject() const { return activeObject_.Get(); }
    // Offers a key message to that active object, as a container's message loop does; true
    // when the control took it.
    bool TranslateAccelerator(MSG& message);
    // In-place deactivation, Close and SetClientSite(null); also done by the destructor.
    void Close();

private:
    class Site;

    HRESULT Create(const wchar_t* progId);

    UniqueWindow siteWindow_;
    OuterServices outerServices_;
    ComPtr<Site> site_;
    ComPtr<IOleObject> object_;
    ComPtr<IDispatch> dispatch_;
    ComPtr<IOleInPlaceActiveObject> activeObject_;
    Notifications notifications_;
    // Inside TranslateAccelerator: what the control passes back to its site is ours to decide.
    bool offering_ = false;
    HRESULT creationResult_ = E_FAIL;
};

} // namespace folivex::com
