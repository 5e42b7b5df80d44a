#pragma once
// Hosts the PDF viewer component ("AcroPDF.PDF") as a child control in a site window of its
// own inside the control's window, and is the bridge every call into it goes through.
//
// The site is a real OLE container site (client site, in-place site and frame, control site,
// ambient properties with UserMode True); service requests are passed on to the control's own
// container through the callback given at creation.

#include "viewer_bridge/component_site.h"
#include "viewer_bridge/viewer_component.h"

#include "com/com_ptr.h"
#include "com/unique_handle.h"

#include <ocidl.h>
#include <servprov.h>

#include <functional>
#include <memory>
#include <string>

namespace folivex {

class ComponentHost : public ViewerComponent, public ComponentSite {
public:
    // The outer container's service provider, or null when the control has no site.
    using OuterServices = std::function<com::ComPtr<IServiceProvider>()>;

    static constexpr const wchar_t* kProgId = L"AcroPDF.PDF";

    // Creates the hidden site window inside `parent` and the component in it. When the
    // component cannot be created the host still exists, with Available() false.
    ComponentHost(HWND parent, OuterServices outerServices);
    ~ComponentHost() override;
    ComponentHost(const ComponentHost&) = delete;
    ComponentHost& operator=(const ComponentHost&) = delete;

    bool Available() const { return dispatch_ != nullptr; }
    HRESULT CreationResult() const { return creationResult_; }
    HWND SiteWindow() const { return siteWindow_.Get(); }
    IDispatch* Dispatch() const { return dispatch_.Get(); }

    // ViewerComponent
    HResult Invoke(int dispid, std::span<const ComponentArg> args) override;
    HResult PutSource(const std::wstring& path) override;
    HResult GetSource(std::wstring& path) override;
    HResult Print() override;

    // ComponentSite (the extender a form gives a child control)
    void SetVisible(bool visible) override;
    bool Visible() const override;
    void Move(std::int32_t left, std::int32_t top, std::int32_t width,
              std::int32_t height) override;
    std::int32_t Top() const override;
    bool SetFocus() override;

private:
    class Site;

    HRESULT Create();
    HResult NotAvailable() const;
    HResult CallDispatch(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result);

    com::UniqueWindow siteWindow_;
    OuterServices outerServices_;
    com::ComPtr<Site> site_;
    com::ComPtr<IOleObject> object_;
    com::ComPtr<IDispatch> dispatch_;
    HRESULT creationResult_ = E_FAIL;
};

} // namespace folivex
