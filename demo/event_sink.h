#pragma once
// The Viewer's download events (dispinterface __Viewer), received by a sink object connected
// through IConnectionPointContainer, as any early- or late-binding C++ host would.

#include "com/com_ptr.h"
#include "com/object.h"

#include <oaidl.h>
#include <ocidl.h>

#include <string>

namespace folivex::demo {

// What the host does with each event. The by-reference arguments arrive as values: the demo
// never changes them.
class DownloadListener {
public:
    virtual void DownloadStarted(const std::wstring& saveFile) = 0;
    virtual void DownloadProgress(long curBytes, long maxBytes, const std::wstring& saveFile) = 0;
    virtual void DownloadError(const std::wstring& saveFile) = 0;
    virtual void DownloadComplete(long maxBytes, const std::wstring& saveFile) = 0;

protected:
    ~DownloadListener() = default;
};

// Answers IDispatch::Invoke for the four event numbers. It holds its listener by plain pointer:
// the owner calls Detach() before the listener goes, because the control may still hold the sink.
class DownloadEventSink : public com::Object<DownloadEventSink, IDispatch> {
public:
    explicit DownloadEventSink(DownloadListener* listener) : listener_(listener) {}
    void Detach() { listener_ = nullptr; }

    void* QueryExtraInterface(REFIID riid);

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT* argumentError) override;

private:
    DownloadListener* listener_;
};

// One advise on a connection point, undone by the destructor.
class EventConnection {
public:
    EventConnection() = default;
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;
    ~EventConnection() { Disconnect(); }

    HRESULT Connect(IUnknown* source, REFIID events, IUnknown* sink);
    void Disconnect();

private:
    com::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

} // namespace folivex::demo
