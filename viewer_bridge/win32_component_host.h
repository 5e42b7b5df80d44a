#pragma once
// Hosts the PDF viewer component ("AcroPDF.PDF") as child control AcroPDF1 in a site window of
// its own inside the control's window, and is the bridge every call into it goes through.
// Service requests of the component go on to the control's own container.

#include "viewer_bridge/component_site.h"
#include "viewer_bridge/viewer_component.h"

#include "com/com_ptr.h"
#include "com/hosted_control.h"

#include <ocidl.h>
#include <servprov.h>

#include <functional>
#include <memory>
#include <string>

namespace folivex {

class ComponentHost : public ViewerComponent, public ComponentSite {
public:
    // The outer container's service provider, or null when the control has no site.
    using OuterServices = com::HostedControl::OuterServices;

    static constexpr const wchar_t* kProgId = L"AcroPDF.PDF";

    // Creates the hidden site window inside `parent` and the component in it. When the
    // component cannot be created the host still exists, with Available() false.
    ComponentHost(HWND parent, OuterServices outerServices);
    ~ComponentHost() override;
    ComponentHost(const ComponentHost&) = delete;
    ComponentHost& operator=(const ComponentHost&) = delete;

    bool Available() const { return dispatch_ != nullptr; }
    HRESULT CreationResult() const { return hosted_.CreationResult(); }
    HWND SiteWindow() const { return hosted_.SiteWindow(); }
    IDispatch* Dispatch() const { return dispatch_.Get(); }
    // The component's site: its active object, its window, what it tells its container.
    com::HostedControl& Hosted() { return hosted_; }

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
    HResult NotAvailable() const;
    HResult CallDispatch(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result);

    com::HostedControl hosted_;
    com::ComPtr<IDispatch> dispatch_;
};

} // namespace folivex
