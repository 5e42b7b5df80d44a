// A caller in the multithreaded apartment, as .NET code, services and worker threads are. COM
// creates the apartment-threaded control in a host apartment and hands out proxies marshalled
// through the type library: the dual interface, IDispatch, and the event sink, which lives here.

#include "tests/windows/opening/opening_fixture.h"
#include "tests/windows/support/test_settings.h"
#include "tests/windows/support/viewer_calls.h"

#include "interface/folivex_interface.h"

#include "com/apartment.h"
#include "com/bstr.h"
#include "com/com_ptr.h"
#include "com/variant.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace folivex::testing {
namespace {

// What a proxy answers and the object itself does not.
bool IsProxy(IUnknown* object) {
    com::ComPtr<IClientSecurity> security;
    return SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&security)));
}

// A __Viewer sink living in the multithreaded apartment: its calls come on any of its threads.
class Sink final : public IDispatch {
public:
    struct Event {
        DISPID id;
        LONG maxBytes;
        std::wstring saveFile;
    };

    explicit Sink(std::wstring redirectTo) : redirectTo_(std::move(redirectTo)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, DIID___Viewer)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        if (!params || params->cArgs == 0) {
            return S_OK;
        }
        // Arguments arrive last first: SaveFile is always the first of them.
        VARIANTARG& file = params->rgvarg[0];
        Event event{id, 0, {}};
        if (file.vt == (VT_BSTR | VT_BYREF) && file.pbstrVal) {
            event.saveFile = com::Bstr::ToString(*file.pbstrVal);
            if (id == 1 && !redirectTo_.empty()) {
                // The caller's string is replaced; the old one goes with `replaced`.
                com::Bstr replaced(redirectTo_);
                std::swap(*file.pbstrVal, *replaced.InOut());
                event.saveFile = redirectTo_;
            }
        }
        if (id == 4 && params->cArgs == 2 && params->rgvarg[1].vt == (VT_I4 | VT_BYREF)) {
            event.maxBytes = *params->rgvarg[1].plVal;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(event);
        return S_OK;
    }

    std::vector<Event> Events() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }
    bool CompleteArrived() const {
        for (const Event& event : Events()) {
            if (event.id == 4) {
                return true;
            }
        }
        return false;
    }

private:
    ~Sink() = default;

    std::atomic<ULONG> references_{1};
    std::wstring redirectTo_;
    mutable std::mutex mutex_;
    std::vector<Event> events_;
};

TEST(MultithreadedCaller, EveryKindOfMemberWorksEarlyBoundThroughAProxy) {
    com::Apartment mta(COINIT_MULTITHREADED);
    ASSERT_EQ(mta.Result(), S_OK);
    // The old layout's page box reads "P of N", which PageTotal counts.
    ScopedSetting layout(L"FOLIVEX_STANDIN_LAYOUT", L"old");
    ScratchDirectory temp;
    com::ComPtr<_Viewer> viewer;
    // The dual interface is marshalled from the type library.
    ASSERT_EQ(::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID__Viewer,
                                 reinterpret_cast<void**>(viewer.GetAddressOf())),
              S_OK);
    EXPECT_TRUE(IsProxy(viewer.Get()));

    com::Bstr path(L"C:\\somewhere\\doc.pdf");
    ASSERT_EQ(viewer->put_Path(path.Get()), S_OK);
    com::Bstr readBack;
    ASSERT_EQ(viewer->get_Path(readBack.Out()), S_OK);
    EXPECT_EQ(readBack.ToString(), L"C:\\somewhere\\doc.pdf");

    com::Bstr tempPath(temp.Path());
    ASSERT_EQ(viewer->put_TempPath(tempPath.Get()), S_OK);
    ASSERT_EQ(viewer->put_ReaderVersion(7), S_OK);
    short version = 0;
    ASSERT_EQ(viewer->get_ReaderVersion(&version), S_OK);
    EXPECT_EQ(version, 7);

    com::Bstr document(TestDocument(L"three_pages.pdf"));
    VARIANT_BOOL opened = VARIANT_FALSE;
    ASSERT_EQ(viewer->OpenPDF(document.Get(), &opened), S_OK);
    EXPECT_EQ(opened, VARIANT_TRUE);
    LONG total = 0;
    ASSERT_EQ(viewer->get_PageTotal(&total), S_OK);
    EXPECT_EQ(total, 3);
    LONG hwnd = 0;
    ASSERT_EQ(viewer->get_hwnd(&hwnd), S_OK);
    EXPECT_TRUE(::IsWindow(reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd))));

    // By-reference strings travel both ways.
    const std::wstring copy = temp.File(L"copy.pdf");
    com::Bstr destination(copy);
    VARIANT_BOOL saved = VARIANT_FALSE;
    ASSERT_EQ(viewer->SaveCopy(destination.InOut(), nullptr, &saved), S_OK);
    EXPECT_EQ(saved, VARIANT_TRUE);
    EXPECT_EQ(destination.ToString(), copy);
    EXPECT_TRUE(PathExists(copy));

    // A command and a readout of the component through the same proxy.
    ASSERT_EQ(viewer->GotoNextPage(), S_OK);
    LONG page = 0;
    ASSERT_EQ(viewer->get_Page(&page), S_OK);
    EXPECT_EQ(page, 2);
}

TEST(MultithreadedCaller, LateBoundCallsThroughIDispatch) {
    com::Apartment mta(COINIT_MULTITHREADED);
    ASSERT_EQ(mta.Result(), S_OK);
    ScopedSetting layout(L"FOLIVEX_STANDIN_LAYOUT", L"old");
    com::ComPtr<IDispatch> viewer;
    ASSERT_EQ(
        ::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&viewer)),
        S_OK);
    EXPECT_TRUE(IsProxy(viewer.Get()));

    // Late-bound calls by name, as a script engine running in the multithreaded apartment makes.
    ASSERT_EQ(CallByName(viewer.Get(), L"ReaderVersion", DISPATCH_PROPERTYPUT, {LongArg(7)}), S_OK);
    com::Variant versionRead;
    ASSERT_EQ(
        CallByName(viewer.Get(), L"ReaderVersion", DISPATCH_PROPERTYGET, {}, versionRead.Get()),
        S_OK);
    ASSERT_EQ(::VariantChangeType(versionRead.Get(), versionRead.Get(), 0, VT_I4), S_OK);
    EXPECT_EQ(versionRead->lVal, 7);
    com::Variant opened;
    ASSERT_EQ(CallByName(viewer.Get(), L"OpenPDF", DISPATCH_METHOD,
                         {StringArg(TestDocument(L"three_pages.pdf"))}, opened.Get()),
              S_OK);
    ASSERT_EQ(opened->vt, VT_BOOL);
    EXPECT_EQ(opened->boolVal, VARIANT_TRUE);

    com::Variant total;
    ASSERT_EQ(CallByName(viewer.Get(), L"PageTotal", DISPATCH_PROPERTYGET, {}, total.Get()), S_OK);
    ASSERT_EQ(::VariantChangeType(total.Get(), total.Get(), 0, VT_I4), S_OK);
    EXPECT_EQ(total->lVal, 3);

    com::Variant path;
    ASSERT_EQ(CallByName(viewer.Get(), L"Path", DISPATCH_PROPERTYGET, {}, path.Get()), S_OK);
    ASSERT_EQ(path->vt, VT_BSTR);
    EXPECT_EQ(com::Bstr::ToString(path->bstrVal), TestDocument(L"three_pages.pdf"));
}

TEST(MultithreadedCaller, DownloadEventsReachASinkInTheMultithreadedApartment) {
    if (HttpUrl(L"one_page.pdf").empty()) {
        GTEST_SKIP() << "no loopback servers";
    }
    com::Apartment mta(COINIT_MULTITHREADED);
    ASSERT_EQ(mta.Result(), S_OK);
    ScratchDirectory temp;
    const std::wstring redirected = temp.File(L"redirected.pdf");
    Sink* sink = new Sink(redirected);
    com::ComPtr<IDispatch> sinkReference;
    sinkReference.Attach(sink);

    // The sink as the events interface: the marshaler finds __Viewer in the type library.
    com::ComPtr<IStream> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    EXPECT_EQ(::CoMarshalInterface(stream.Get(), DIID___Viewer, sink, MSHCTX_INPROC, nullptr,
                                   MSHLFLAGS_NORMAL),
              S_OK);
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    ::CoReleaseMarshalData(stream.Get());

    com::ComPtr<_Viewer> viewer;
    ASSERT_EQ(::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID__Viewer,
                                 reinterpret_cast<void**>(viewer.GetAddressOf())),
              S_OK);
    com::ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(viewer.As(&container), S_OK);
    com::ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(DIID___Viewer, &point), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(sink, &cookie), S_OK);

    com::Bstr url(HttpUrl(L"one_page.pdf"));
    const std::wstring requested = temp.File(L"one_page.pdf");
    com::Bstr file(requested);
    VARIANT_BOOL started = VARIANT_FALSE;
    ASSERT_EQ(viewer->BeginDownload(url.InOut(), file.InOut(), &started), S_OK);
    EXPECT_EQ(started, VARIANT_TRUE);
    // The sink's DownloadStarted redirected the download, and the caller's variable followed.
    EXPECT_EQ(file.ToString(), redirected);

    const ULONGLONG deadline = ::GetTickCount64() + 20000;
    while (!sink->CompleteArrived() && ::GetTickCount64() < deadline) {
        ::Sleep(20);
    }
    const std::vector<Sink::Event> events = sink->Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().id, 1);
    EXPECT_EQ(events.back().id, 4) << "DownloadComplete last";
    for (const Sink::Event& event : events) {
        EXPECT_NE(event.id, 3) << "no DownloadError";
        EXPECT_EQ(event.saveFile, redirected);
    }
    EXPECT_GT(events.back().maxBytes, 0);
    EXPECT_TRUE(PathExists(redirected));
    EXPECT_FALSE(PathExists(requested));
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
}

} // namespace
} // namespace folivex::testing
