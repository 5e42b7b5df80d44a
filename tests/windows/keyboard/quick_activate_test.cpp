// Quick activation by containers of either generation: the structures as they were first
// defined (QACONTAINER up to pBindHost, QACONTROL without the pointer activation policy) and
// as they are now.

#include "tests/windows/support/counting_sink.h"
#include "tests/windows/support/test_window.h"

#include "interface/folivex_interface.h"

#include "com/com_ptr.h"
#include "com/object.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace folivex::testing {
namespace {

class BareSite : public com::Object<BareSite, IOleClientSite> {
public:
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
};

struct Sizes {
    ULONG container;
    ULONG control;
};

class QuickActivate : public ::testing::TestWithParam<Sizes> {
protected:
    ComApartment apartment_;
};

TEST_P(QuickActivate, SitesTheControlAndConnectsItsEvents) {
    com::ComPtr<IQuickActivate> quick;
    ASSERT_EQ(::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&quick)),
              S_OK);
    com::ComPtr<BareSite> site = com::Make<BareSite>();
    com::ComPtr<CountingSink> sink = com::Make<CountingSink>();

    // Whatever lies past cbSize belongs to the caller: filled with a pattern that must stay.
    QACONTAINER container;
    std::memset(&container, 0xA5, sizeof container);
    std::memset(&container, 0, GetParam().container);
    container.cbSize = GetParam().container;
    container.pClientSite = site.Get();
    container.pUnkEventSink = sink->Unknown();
    container.dwAmbientFlags = QACONTAINER_USERMODE;
    QACONTROL control;
    std::memset(&control, 0xA5, sizeof control);
    control.cbSize = GetParam().control;
    const QACONTROL before = control;

    ASSERT_EQ(quick->QuickActivate(&container, &control), S_OK);
    DWORD misc = 0;
    ASSERT_EQ(::OleRegGetMiscStatus(CLSID_Viewer, DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_EQ(control.dwMiscStatus, misc);
    EXPECT_NE(control.dwEventCookie, 0u);
    if (GetParam().control < sizeof(QACONTROL)) {
        EXPECT_EQ(control.dwPointerActivationPolicy, before.dwPointerActivationPolicy);
    } else {
        EXPECT_EQ(control.dwPointerActivationPolicy, 0u);
    }

    com::ComPtr<IOleObject> object;
    ASSERT_EQ(quick.As(&object), S_OK);
    com::ComPtr<IOleClientSite> sited;
    ASSERT_EQ(object->GetClientSite(&sited), S_OK);
    EXPECT_EQ(sited.Get(), site.Get());
    // The events were connected to the container's sink, under the cookie returned.
    com::ComPtr<IConnectionPointContainer> points;
    com::ComPtr<IConnectionPoint> point;
    ASSERT_EQ(quick.As(&points), S_OK);
    ASSERT_EQ(points->FindConnectionPoint(DIID___Viewer, &point), S_OK);
    EXPECT_EQ(point->Unadvise(control.dwEventCookie), S_OK);
    object->SetClientSite(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Sizes, QuickActivate,
                         ::testing::Values(Sizes{offsetof(QACONTAINER, pOleControlSite),
                                                 offsetof(QACONTROL, dwPointerActivationPolicy)},
                                           Sizes{sizeof(QACONTAINER), sizeof(QACONTROL)}),
                         [](const ::testing::TestParamInfo<Sizes>& info) {
                             return info.param.container < sizeof(QACONTAINER) ? "older"
                                                                               : "current";
                         });

TEST(QuickActivateRefusal, StructuresTooShortToHoldTheSiteAreRefused) {
    ComApartment apartment;
    com::ComPtr<IQuickActivate> quick;
    ASSERT_EQ(::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&quick)),
              S_OK);
    QACONTAINER container = {};
    QACONTROL control = {};
    control.cbSize = sizeof control;
    container.cbSize = sizeof(ULONG);
    EXPECT_EQ(quick->QuickActivate(&container, &control), E_INVALIDARG);
    container.cbSize = sizeof container;
    control.cbSize = sizeof(ULONG);
    EXPECT_EQ(quick->QuickActivate(&container, &control), E_INVALIDARG);
    EXPECT_EQ(quick->QuickActivate(nullptr, &control), E_POINTER);
}

} // namespace
} // namespace folivex::testing
