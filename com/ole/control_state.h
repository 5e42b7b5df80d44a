#pragma once
// What the OLE interface units of a control (com/ole/*.h) share: the container's sites, the
// activation state, the advise sinks and the extent. One object, held by com::OleControl, so
// that the units read and change the same state instead of each other's members.

#include "com/com_ptr.h"

#include <ocidl.h>
#include <olectl.h>

namespace folivex::com {

struct OleControlState {
    // Extent in HIMETRIC units; the default is 4800 x 3600 twips.
    static constexpr LONG kDefaultWidthHimetric = 8467;
    static constexpr LONG kDefaultHeightHimetric = 6350;

    // IOleObject::GetExtent, IViewObject2::GetExtent and IQuickActivate::GetContentExtent.
    HRESULT GetExtent(DWORD aspect, SIZEL* size) const {
        if (aspect != DVASPECT_CONTENT) {
            return DV_E_DVASPECT;
        }
        if (!size) {
            return E_POINTER;
        }
        *size = extent;
        return S_OK;
    }
    // IOleObject::SetExtent and IQuickActivate::SetContentExtent.
    HRESULT SetExtent(DWORD aspect, const SIZEL* size) {
        if (aspect != DVASPECT_CONTENT) {
            return DV_E_DVASPECT;
        }
        if (!size) {
            return E_POINTER;
        }
        extent = *size;
        return S_OK;
    }

    ComPtr<IOleClientSite> clientSite;
    ComPtr<IOleInPlaceSite> inPlaceSite;
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> uiWindow;
    ComPtr<IOleAdviseHolder> adviseHolder;
    ComPtr<IAdviseSink> viewSink;
    DWORD viewAspects = 0;
    DWORD viewAdviseFlags = 0;
    SIZEL extent = {kDefaultWidthHimetric, kDefaultHeightHimetric};
    bool inPlaceActive = false;
    bool uiActive = false;
    bool focusReported = false; // the control site was told the focus is ours
    bool closed = false;        // by IOleObject::Close, until the next activation
};

} // namespace folivex::com
