#pragma once
// The container-facing half of a windowed ActiveX control, written once. List it as one base of
// com::Object:
//
//   class Thing : public com::Object<Thing, com::Dispatch<Thing, IThing>, com::OleControl<Thing>>
//
// Each interface (or group of interfaces that share methods) is one unit in com/ole/, over the
// one OleControlState held here:
//   ole_object.h            IOleObject
//   ole_in_place_object.h   IOleInPlaceObject, IOleInPlaceActiveObject (activation, focus, keys)
//   ole_control.h           IOleControl
//   view_object.h           IViewObject, IViewObject2
//   persist.h               IPersistStreamInit, IPersistPropertyBag, IPersistStorage
//   quick_activate.h        IQuickActivate
//   provide_class_info.h    IProvideClassInfo, IProvideClassInfo2
//
// The derived class supplies:
//   static const CLSID& ClassId();  static DWORD MiscStatus();
//   HWND ControlWindow();                              // the control's window, or null
//   bool AttachToParent(HWND parent, const RECT& pos); // in-place activation: move into parent
//   void DetachFromParent();                           // deactivation: park the window again
//   void DrawContent(HDC dc, const RECT& bounds);      // IViewObject::Draw
//   HRESULT ClassTypeInfo(ITypeInfo** info);           // the coclass's type information
//   const IID& DefaultEventInterface();
//   HRESULT AdviseDefaultEvents(IUnknown* sink, DWORD* cookie);
//   void OnClientSiteChanged();                        // after SetClientSite
//   bool OfferAccelerator(MSG& message);               // a key message: true when it took it
// and may call ClientSite(), InPlaceActive(), UIActive(), ActivateUI(), FocusEntered() and
// FocusLeft().

#include "com/object.h"
#include "com/ole/control_state.h"
#include "com/ole/ole_control.h"
#include "com/ole/ole_in_place_object.h"
#include "com/ole/ole_object.h"
#include "com/ole/persist.h"
#include "com/ole/provide_class_info.h"
#include "com/ole/quick_activate.h"
#include "com/ole/view_object.h"

namespace folivex::com {

template <typename Derived>
class OleControl : public OleObjectUnit<Derived>,
                   public OleInPlaceObjectUnit<Derived>,
                   public OleControlUnit<Derived>,
                   public ViewObjectUnit<Derived>,
                   public PersistUnit<Derived>,
                   public QuickActivateUnit<Derived>,
                   public ProvideClassInfoUnit<Derived> {
public:
    IOleClientSite* ClientSite() const { return state_.clientSite.Get(); }
    // True from IOleObject::Close until the control is activated again.
    bool ClosedByContainer() const { return state_.closed; }
    bool InPlaceActive() const { return state_.inPlaceActive; }
    bool UIActive() const { return state_.uiActive; }

protected:
    ~OleControl() = default;

private:
    friend class OleObjectUnit<Derived>;
    friend class OleInPlaceObjectUnit<Derived>;
    friend class ViewObjectUnit<Derived>;
    friend class QuickActivateUnit<Derived>;

    OleControlState& OleState() { return state_; }

    OleControlState state_;
};

template <typename Derived>
struct InterfaceId<OleControl<Derived>> {
    static void* Query(OleControl<Derived>* self, REFIID riid) {
        if (IsEqualIID(riid, IID_IOleObject)) {
            return static_cast<IOleObject*>(self);
        }
        if (IsEqualIID(riid, IID_IOleInPlaceObject) || IsEqualIID(riid, IID_IOleWindow)) {
            return static_cast<IOleInPlaceObject*>(self);
        }
        if (IsEqualIID(riid, IID_IOleInPlaceActiveObject)) {
            return static_cast<IOleInPlaceActiveObject*>(self);
        }
        if (IsEqualIID(riid, IID_IOleControl)) {
            return static_cast<IOleControl*>(self);
        }
        if (IsEqualIID(riid, IID_IViewObject2) || IsEqualIID(riid, IID_IViewObject)) {
            return static_cast<IViewObject2*>(self);
        }
        if (IsEqualIID(riid, IID_IPersistStreamInit) || IsEqualIID(riid, IID_IPersist)) {
            return static_cast<IPersistStreamInit*>(self);
        }
        if (IsEqualIID(riid, IID_IPersistPropertyBag)) {
            return static_cast<IPersistPropertyBag*>(self);
        }
        if (IsEqualIID(riid, IID_IPersistStorage)) {
            return static_cast<IPersistStorage*>(self);
        }
        if (IsEqualIID(riid, IID_IQuickActivate)) {
            return static_cast<IQuickActivate*>(self);
        }
        if (IsEqualIID(riid, IID_IProvideClassInfo2) || IsEqualIID(riid, IID_IProvideClassInfo)) {
            return static_cast<IProvideClassInfo2*>(self);
        }
        return nullptr;
    }
};

} // namespace folivex::com
