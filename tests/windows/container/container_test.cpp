// Folivex.Viewer hosted in-place by a container of our own, and driven late-bound and early-bound.

#include "tests/windows/support/counting_sink.h"
#include "tests/windows/support/test_window.h"

#include "interface/folivex_interface.h"

#include "com/bstr.h"
#include "com/hosted_control.h"
#include "com/object.h"
#include "com/variant.h"

#include <olectl.h>
#include <objsafe.h>

#include <gtest/gtest.h>

#include <vector>

namespace folivex {
namespace {

using com::ComPtr;

class HostedViewer : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = testing::MakeHostWindow();
        viewer_ = std::make_unique<com::HostedControl>(host_.Get(), L"Folivex.Viewer", L"Viewer1",
                                                       nullptr);
        ASSERT_EQ(viewer_->CreationResult(), S_OK);
        viewer_->Show(true);
        viewer_->Move(0, 0, 400, 300);
        testing::PumpMessages();
    }
    void TearDown() override {
        viewer_.reset();
        host_.Reset();
    }
    ComPtr<_Viewer> Early() {
        ComPtr<_Viewer> early;
        EXPECT_EQ(viewer_->Object()->QueryInterface(IID_PPV_ARGS(&early)), S_OK);
        return early;
    }
    DISPID IdOf(const wchar_t* name) {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        EXPECT_EQ(viewer_->Dispatch()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
                  S_OK);
        return id;
    }

    testing::ComApartment apartment_;
    com::UniqueWindow host_;
    std::unique_ptr<com::HostedControl> viewer_;
};

TEST_F(HostedViewer, InPlaceActivationPutsTheControlWindowIntoTheSite) {
    HWND control = viewer_->ControlWindow();
    ASSERT_TRUE(control);
    EXPECT_EQ(::GetParent(control), viewer_->SiteWindow());
    EXPECT_TRUE(::IsWindowVisible(control));
    RECT client = {};
    ::GetClientRect(control, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);

    viewer_->Move(10, 20, 250, 180);
    testing::PumpMessages();
    ::GetClientRect(control, &client);
    EXPECT_EQ(client.right, 250);
    EXPECT_EQ(client.bottom, 180);

    // hwnd is the control's own window.
    LONG hwnd = 0;
    ASSERT_EQ(Early()->get_hwnd(&hwnd), S_OK);
    EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd)), control);
}

TEST_F(HostedViewer, DeactivationParksTheWindowOutsideTheContainer) {
    HWND control = viewer_->ControlWindow();
    ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(viewer_->Object()->QueryInterface(IID_PPV_ARGS(&inPlace)), S_OK);
    ASSERT_EQ(inPlace->InPlaceDeactivate(), S_OK);
    EXPECT_TRUE(::IsWindow(control));
    EXPECT_FALSE(::IsChild(host_.Get(), control));
    // Still fully usable while parked.
    ComPtr<_Viewer> early = Early();
    com::Bstr path(L"C:\\parked.pdf");
    EXPECT_EQ(early->put_Path(path.Get()), S_OK);
    viewer_->Close();
    EXPECT_FALSE(::IsChild(host_.Get(), control));
}

TEST_F(HostedViewer, LateBoundCallsGoThroughTheTypeLibrary) {
    IDispatch* dispatch = viewer_->Dispatch();
    ASSERT_TRUE(dispatch);
    EXPECT_EQ(IdOf(L"Path"), 0x4003000B);
    EXPECT_EQ(IdOf(L"OpenPDF"), 0x60030014);
    EXPECT_EQ(IdOf(L"DisableSaveKeys"), 0x68030000);

    VARIANTARG value;
    ::VariantInit(&value);
    value.vt = VT_BSTR;
    com::Bstr text(L"http://example.invalid/a.pdf");
    value.bstrVal = text.Get();
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS putParams = {&value, &put, 1, 1};
    ASSERT_EQ(dispatch->Invoke(0x4003000B, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                               &putParams, nullptr, nullptr, nullptr),
              S_OK);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    com::Variant result;
    ASSERT_EQ(dispatch->Invoke(0x4003000B, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                               &none, result.Get(), nullptr, nullptr),
              S_OK);
    ASSERT_EQ(result->vt, VT_BSTR);
    EXPECT_STREQ(result->bstrVal, L"http://example.invalid/a.pdf");

    // A number where the library declares a string is coerced by the library's dispatch.
    value.vt = VT_I4;
    value.lVal = 42;
    ASSERT_EQ(dispatch->Invoke(0x4003000B, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                               &putParams, nullptr, nullptr, nullptr),
              S_OK);
    com::Bstr path;
    ASSERT_EQ(Early()->get_Path(path.Out()), S_OK);
    EXPECT_EQ(path.ToString(), L"42");

    // hwnd is read-only.
    EXPECT_EQ(dispatch->Invoke(0x68030005, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                               &putParams, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
}

TEST_F(HostedViewer, EarlyBoundCallsUseTheGeneratedHeader) {
    ComPtr<_Viewer> early = Early();
    com::Bstr in(L"C:\\docs\\a.pdf");
    ASSERT_EQ(early->put_Path(in.Get()), S_OK);
    com::Bstr out;
    ASSERT_EQ(early->get_Path(out.Out()), S_OK);
    EXPECT_EQ(out.ToString(), L"C:\\docs\\a.pdf");
    com::Bstr temp;
    ASSERT_EQ(early->get_TempPath(temp.Out()), S_OK);
    EXPECT_EQ(temp.ToString(), L"C:\\TEMP\\");
    ASSERT_EQ(early->put_ReaderVersion(8), S_OK);
    short version = 0;
    ASSERT_EQ(early->get_ReaderVersion(&version), S_OK);
    EXPECT_EQ(version, 8);
}

TEST_F(HostedViewer, AnswersForEveryInterfaceAContainerAsksFor) {
    IOleObject* object = viewer_->Object();
    for (const IID* iid :
         {&IID_IDispatch, &IID__Viewer, &IID_IOleObject, &IID_IOleInPlaceObject, &IID_IOleWindow,
          &IID_IOleInPlaceActiveObject, &IID_IOleControl, &IID_IViewObject, &IID_IViewObject2,
          &IID_IPersist, &IID_IPersistStreamInit, &IID_IPersistPropertyBag, &IID_IPersistStorage,
          &IID_IQuickActivate, &IID_IProvideClassInfo, &IID_IProvideClassInfo2,
          &IID_ISupportErrorInfo, &IID_IConnectionPointContainer}) {
        ComPtr<IUnknown> unknown;
        EXPECT_EQ(object->QueryInterface(*iid, reinterpret_cast<void**>(unknown.GetAddressOf())),
                  S_OK);
    }
    // Never safe for scripting or initialisation.
    ComPtr<IUnknown> safety;
    EXPECT_EQ(
        object->QueryInterface(IID_IObjectSafety, reinterpret_cast<void**>(safety.GetAddressOf())),
        E_NOINTERFACE);

    SIZEL extent = {};
    ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
    EXPECT_EQ(extent.cx, 8467); // 4800 twips in HIMETRIC
    EXPECT_EQ(extent.cy, 6350); // 3600 twips
    DWORD misc = 0;
    ASSERT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_TRUE(misc & OLEMISC_SETCLIENTSITEFIRST);
    EXPECT_TRUE(misc & OLEMISC_ACTIVATEWHENVISIBLE);

    ComPtr<ISupportErrorInfo> errors;
    ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&errors)), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID__Viewer), S_OK);

    ComPtr<IProvideClassInfo2> classInfo;
    ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&classInfo)), S_OK);
    GUID events = {};
    ASSERT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
    EXPECT_TRUE(IsEqualGUID(events, DIID___Viewer));
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(classInfo->GetClassInfo(&coclass), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, CLSID_Viewer));
    EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
    coclass->ReleaseTypeAttr(attributes);

    // Nothing is persisted: a save writes nothing.
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&persist)), S_OK);
    ComPtr<IStream> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    EXPECT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
    STATSTG stat = {};
    stream->Stat(&stat, STATFLAG_NONAME);
    EXPECT_EQ(stat.cbSize.QuadPart, 0u);
}

using testing::CountingSink;

TEST_F(HostedViewer, EventConnectionPointAdvisesEnumeratesAndUnadvises) {
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(viewer_->Object()->QueryInterface(IID_PPV_ARGS(&container)), S_OK);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(DIID___Viewer, &point), S_OK);
    ComPtr<IConnectionPoint> none;
    EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, &none), CONNECT_E_NOCONNECTION);

    ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(container->EnumConnectionPoints(&points), S_OK);
    IConnectionPoint* listed[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(points->Next(2, listed, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    listed[0]->Release();

    auto sink = com::Make<CountingSink>();
    DWORD first = 0, second = 0;
    ASSERT_EQ(point->Advise(sink->Unknown(), &first), S_OK);
    ASSERT_EQ(point->Advise(sink->Unknown(), &second), S_OK);
    EXPECT_NE(first, second);
    ComPtr<IEnumConnections> connections;
    ASSERT_EQ(point->EnumConnections(&connections), S_OK);
    CONNECTDATA data[3] = {};
    EXPECT_EQ(connections->Next(3, data, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    for (ULONG i = 0; i < fetched; ++i) {
        data[i].pUnk->Release();
    }
    EXPECT_EQ(point->Unadvise(first), S_OK);
    EXPECT_EQ(point->Unadvise(first), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(second), S_OK);

    ComPtr<IConnectionPointContainer> back;
    ASSERT_EQ(point->GetConnectionPointContainer(&back), S_OK);
    EXPECT_EQ(back.Get(), container.Get());
}

TEST(UnsitedViewer, WorksWithoutAnyContainerAndLeavesNothingBehind) {
    testing::ComApartment apartment;
    ComPtr<_Viewer> viewer;
    ASSERT_EQ(
        ::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&viewer)),
        S_OK);
    LONG hwnd = 0;
    ASSERT_EQ(viewer->get_hwnd(&hwnd), S_OK);
    HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd));
    ASSERT_TRUE(::IsWindow(window));
    // Parked in a hidden top-level window of its own.
    HWND parking = ::GetAncestor(window, GA_ROOT);
    EXPECT_NE(parking, window);
    EXPECT_FALSE(::IsWindowVisible(parking));
    com::Bstr path(L"C:\\a.pdf");
    EXPECT_EQ(viewer->put_Path(path.Get()), S_OK);
    viewer.Reset();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(::IsWindow(parking));
}

// Named arguments that name no parameter of the member, or one twice, are refused before they
// reach the type library (Wine's read past the parameter list and crashed).
TEST(UnsitedViewer, NamedArgumentsThatNameNoParameterAreRefused) {
    testing::ComApartment apartment;
    ComPtr<IDispatch> viewer;
    ASSERT_EQ(
        ::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&viewer)),
        S_OK);
    DISPID member = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"DisableSaveDialog");
    ASSERT_EQ(viewer->GetIDsOfNames(IID_NULL, &name, 1, 0, &member), S_OK);

    com::Variant caption;
    caption->vt = VT_BSTR;
    caption->bstrVal = ::SysAllocString(L"Save a Copy...");
    struct Case {
        std::vector<DISPID> names;
        HRESULT expected;
        UINT position;
    };
    for (const Case& c :
         {Case{{1, 1}, DISP_E_PARAMNOTFOUND, 0}, Case{{0, 0}, DISP_E_PARAMNOTFOUND, 1},
          Case{{0, 7}, DISP_E_PARAMNOTFOUND, 1},
          Case{{DISPID_PROPERTYPUT, 0}, DISP_E_PARAMNOTFOUND, 0},
          Case{{0, 0, 0}, DISP_E_BADPARAMCOUNT, 0xFFFF}}) {
        VARIANTARG arguments[2] = {*caption.Get(), *caption.Get()};
        std::vector<DISPID> names = c.names;
        DISPPARAMS params = {arguments, names.data(), 2, static_cast<UINT>(names.size())};
        UINT position = 0xFFFF;
        EXPECT_EQ(viewer->Invoke(member, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                                 &position),
                  c.expected);
        EXPECT_EQ(position, c.position);
    }
    // A name that is right still works.
    DISPID right = 0;
    DISPPARAMS params = {caption.Get(), &right, 1, 1};
    EXPECT_EQ(
        viewer->Invoke(member, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
        S_OK);
}

// The marker for a left-out argument, passed for an optional String parameter that the member
// takes by reference (a dispatch fuzz run found the host crashing on it): the default applies,
// as when the argument is not passed at all, positional or named.
TEST(UnsitedViewer, AMissingArgumentMarkerForAReferenceParameterTakesTheDefault) {
    testing::ComApartment apartment;
    ComPtr<IDispatch> viewer;
    ASSERT_EQ(
        ::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&viewer)),
        S_OK);
    DISPID member = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"DisablePrintDialog");
    ASSERT_EQ(viewer->GetIDsOfNames(IID_NULL, &name, 1, 0, &member), S_OK);

    VARIANTARG missing;
    ::VariantInit(&missing);
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    DISPPARAMS positional = {&missing, nullptr, 1, 0};
    EXPECT_EQ(viewer->Invoke(member, IID_NULL, 0, DISPATCH_METHOD, &positional, nullptr, nullptr,
                             nullptr),
              S_OK);
    DISPID first = 0;
    DISPPARAMS named = {&missing, &first, 1, 1};
    EXPECT_EQ(
        viewer->Invoke(member, IID_NULL, 0, DISPATCH_METHOD, &named, nullptr, nullptr, nullptr),
        S_OK);
    // Every invoke flag at once calls the method, whose parameter no property-put value names.
    DISPID value = DISPID_PROPERTYPUT;
    DISPPARAMS asPut = {&missing, &value, 1, 1};
    EXPECT_EQ(viewer->Invoke(member, IID_NULL, 0, 0xFFFF, &asPut, nullptr, nullptr, nullptr),
              DISP_E_PARAMNOTFOUND);
    // Any other error value is no marker: refused as a value of the wrong type.
    missing.scode = E_FAIL;
    EXPECT_EQ(viewer->Invoke(member, IID_NULL, 0, DISPATCH_METHOD, &positional, nullptr, nullptr,
                             nullptr),
              DISP_E_TYPEMISMATCH);
}

TEST(UnsitedViewer, ServerUnloadsOnceEveryObjectIsGone) {
    testing::ComApartment apartment;
    HMODULE module = nullptr;
    {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(
            ::CoGetClassObject(CLSID_Viewer, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&factory)),
            S_OK);
        module = ::GetModuleHandleW(L"Folivex.dll");
        ASSERT_TRUE(module);
        auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void*>(::GetProcAddress(module, "DllCanUnloadNow")));
        ASSERT_TRUE(canUnload);
        EXPECT_EQ(canUnload(), S_FALSE); // the factory is alive
        ASSERT_EQ(factory->LockServer(TRUE), S_OK);
        ComPtr<_Viewer> viewer;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&viewer)), S_OK);
        viewer.Reset();
        factory.Reset();
        EXPECT_EQ(canUnload(), S_FALSE); // locked
        ComPtr<IClassFactory> again;
        ASSERT_EQ(
            ::CoGetClassObject(CLSID_Viewer, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&again)),
            S_OK);
        again->LockServer(FALSE);
        again.Reset();
        EXPECT_EQ(canUnload(), S_OK);
    }
}

} // namespace
} // namespace folivex
