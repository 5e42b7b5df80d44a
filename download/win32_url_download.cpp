#include "download/win32_url_download.h"

#include "com/module.h"
#include "com/object.h"
#include "com/unique_handle.h"
#include "com/window_instance.h"

#include <urlmon.h>
#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace folivex {
namespace {

// Bytes read per notification: large enough for throughput, small enough that progress events
// and the host's messages keep flowing during a large download.
constexpr ULONG kChunkBytes = 64 * 1024;
// Redirects one read follows before it fails: what browsers allow.
constexpr int kMaxRedirects = 20;
constexpr UINT kContinueMessage = WM_APP + 1;
constexpr UINT_PTR kTickTimer = 1;
constexpr wchar_t kWindowClass[] = L"FolivexDownloadPump";
constexpr wchar_t kNoCacheHeaders[] = L"Cache-Control: no-cache\r\nPragma: no-cache\r\n";

class BindCallback;

// urlmon and wininet finish a request on threads of their own, after our last binding has gone;
// were they unloaded with this DLL (a host that frees unused libraries, an apartment that ends)
// such a thread would run in unloaded code, and a reloaded urlmon could not complete a binding.
// Once a download has started they stay loaded for the life of the process.
void KeepTransportLoaded() {
    static std::once_flag pinned;
    std::call_once(pinned, [] {
        for (const wchar_t* name : {L"urlmon.dll", L"wininet.dll"}) {
            HMODULE module = nullptr;
            ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, name, &module);
        }
    });
}

} // namespace

struct Win32UrlDownloadService::Pump {
    com::UniqueWindow window;
    com::ComPtr<IUnknown> site;
    std::vector<com::ComPtr<BindCallback>> active;  // binds not finished, for the final abort
    std::vector<com::ComPtr<BindCallback>> waiting; // binds with more to read
    bool posted = false;
    std::function<void()> tick;

    void Schedule(BindCallback* read);
    void Forget(BindCallback* read);
    void RunWaiting();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

namespace {

// One bind: urlmon's callbacks in, the read's sink out. It reads at most one chunk per
// notification and asks the pump for a later turn when more may be waiting.
class BindCallback : public com::Object<BindCallback, IBindStatusCallback, IHttpNegotiate> {
public:
    BindCallback(std::shared_ptr<DownloadReadSink> sink, bool noCache,
                 std::weak_ptr<Win32UrlDownloadService::Pump> pump)
        : sink_(std::move(sink)), noCache_(noCache), pump_(std::move(pump)) {}

    bool Reported() const { return reported_; }

    // No call reaches the sink after this.
    void Abort() {
        com::ComPtr<BindCallback> self(this);
        sink_.reset();
        stream_.Reset();
        if (com::ComPtr<IBinding> binding = std::move(binding_)) {
            binding->Abort();
        }
        Leave();
    }

    // A turn given by the pump.
    void Continue() {
        com::ComPtr<BindCallback> self(this);
        ReadChunk();
    }

    // IBindStatusCallback
    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* binding) override {
        if (!sink_) {
            return E_ABORT;
        }
        binding_ = binding;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG* priority) override {
        if (!priority) {
            return E_POINTER;
        }
        *priority = THREAD_PRIORITY_NORMAL;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    // Progress is reported per chunk read (below), which also covers the chunks read on the
    // pump's turns, where urlmon sends no progress; here only the total is taken.
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG, ULONG progressMax, ULONG status, LPCWSTR) override {
        if (status == BINDSTATUS_REDIRECTING && ++redirects_ > kMaxRedirects && sink_) {
            // Wine's transport follows a redirect loop for ever (thousands of requests until the
            // stall clock ends it): the read fails here, as a browser's would.
            com::ComPtr<BindCallback> self(this);
            com::ComPtr<IBinding> binding = binding_;
            stopResult_ = INET_E_REDIRECT_FAILED;
            Report();
            if (binding) {
                binding->Abort();
            }
            return E_ABORT;
        }
        if (status == BINDSTATUS_BEGINDOWNLOADDATA || status == BINDSTATUS_DOWNLOADINGDATA ||
            status == BINDSTATUS_ENDDOWNLOADDATA) {
            total_ = progressMax;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT result, LPCWSTR) override {
        com::ComPtr<BindCallback> self(this);
        if (!sink_) {
            binding_.Reset();
            return S_OK;
        }
        ReadStatus();
        stopped_ = true;
        stopResult_ = result;
        binding_.Reset();
        if (SUCCEEDED(result) && stream_ && !endOfData_) {
            ReadChunk(); // the rest of the body is still in the stream
        } else {
            Report();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO* info) override {
        if (!flags || !info) {
            return E_POINTER;
        }
        *flags = BINDF_ASYNCHRONOUS | BINDF_ASYNCSTORAGE | BINDF_PULLDATA;
        if (noCache_) {
            *flags |= BINDF_GETNEWESTVERSION;
        }
        const ULONG size = info->cbSize;
        std::memset(info, 0, size);
        info->cbSize = size;
        info->dwBindVerb = BINDVERB_GET;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*,
                                              STGMEDIUM* medium) override {
        com::ComPtr<BindCallback> self(this);
        if (!sink_) {
            return S_OK;
        }
        if (!stream_ && medium && medium->tymed == TYMED_ISTREAM && medium->pstm) {
            stream_ = medium->pstm;
        }
        if (!httpStatus_) {
            ReadStatus();
        }
        ReadChunk();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

    // IHttpNegotiate: Wine ignores BINDF_GETNEWESTVERSION, so ask caches along the way too.
    HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD,
                                                   LPWSTR* additionalHeaders) override {
        if (!additionalHeaders) {
            return E_POINTER;
        }
        *additionalHeaders = nullptr;
        if (noCache_) {
            const size_t bytes = sizeof(kNoCacheHeaders);
            auto* copy = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
            if (!copy) {
                return E_OUTOFMEMORY;
            }
            std::memcpy(copy, kNoCacheHeaders, bytes);
            *additionalHeaders = copy;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnResponse(DWORD responseCode, LPCWSTR, LPCWSTR,
                                         LPWSTR* additionalHeaders) override {
        if (additionalHeaders) {
            *additionalHeaders = nullptr;
        }
        if (!httpStatus_) {
            httpStatus_ = static_cast<int>(responseCode);
        }
        return S_OK;
    }

private:
    // The HTTP status, when the protocol has one: a 404 ends like a success otherwise.
    void ReadStatus() {
        com::ComPtr<IWinInetHttpInfo> info;
        if (!binding_ || FAILED(binding_.As(&info))) {
            return;
        }
        DWORD status = 0;
        DWORD size = sizeof(status);
        DWORD flags = 0;
        DWORD reserved = 0;
        if (SUCCEEDED(info->QueryInfo(HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                                      &size, &flags, &reserved)) &&
            status != 0) {
            httpStatus_ = static_cast<int>(status);
        }
    }

    // Reads up to one chunk and hands it on. A host handler may pump messages inside the sink's
    // call, bringing another notification for this bind: that one only asks for a later turn.
    void ReadChunk() {
        if (!sink_ || !stream_) {
            return;
        }
        if (reading_) {
            again_ = true;
            return;
        }
        reading_ = true;
        std::vector<std::uint8_t> buffer(kChunkBytes);
        ULONG filled = 0;
        HRESULT hr = S_OK;
        while (filled < kChunkBytes) {
            ULONG got = 0;
            hr = stream_->Read(buffer.data() + filled, kChunkBytes - filled, &got);
            filled += got;
            if (hr != S_OK || got == 0) {
                break;
            }
        }
        if (filled > 0) {
            received_ += filled;
            auto sink = sink_;
            sink->OnData(buffer.data(), filled);
            if (sink_) {
                sink->OnProgress(received_, total_);
            }
        }
        reading_ = false;
        if (!sink_) {
            return; // aborted from inside the sink
        }
        if (hr == S_FALSE || (filled == 0 && hr == S_OK)) {
            endOfData_ = true;
        } else if (FAILED(hr) && hr != E_PENDING) {
            readFailed_ = true;
        }
        const bool more = hr == S_OK || again_;
        again_ = false;
        // The end of the stream is the end of the body: Wine does not always go on to stop the
        // binding when the last bytes were read outside one of its notifications.
        if (readFailed_ || endOfData_ || (stopped_ && hr == E_PENDING)) {
            Report();
        } else if (more) {
            if (auto pump = pump_.lock()) {
                pump->Schedule(this);
            }
        }
        // Otherwise urlmon notifies again when more data has arrived.
    }

    void Report() {
        auto sink = std::move(sink_);
        reported_ = true;
        stream_.Reset();
        binding_.Reset();
        Leave();
        if (sink) {
            sink->OnComplete(SUCCEEDED(stopResult_) && !readFailed_, httpStatus_);
        }
    }

    void Leave() {
        if (auto pump = pump_.lock()) {
            pump->Forget(this);
        }
    }

    std::shared_ptr<DownloadReadSink> sink_;
    const bool noCache_;
    std::weak_ptr<Win32UrlDownloadService::Pump> pump_;
    com::ComPtr<IBinding> binding_;
    com::ComPtr<IStream> stream_;
    std::uint64_t received_ = 0;
    std::uint64_t total_ = 0; // 0 while the size is not known
    int httpStatus_ = 0;
    int redirects_ = 0;
    HRESULT stopResult_ = S_OK;
    bool stopped_ = false;
    bool endOfData_ = false;
    bool readFailed_ = false;
    bool reading_ = false;
    bool again_ = false;
    bool reported_ = false;
};

class UrlRead : public DownloadRead {
public:
    explicit UrlRead(com::ComPtr<BindCallback> callback) : callback_(std::move(callback)) {}
    void Abort() override {
        if (com::ComPtr<BindCallback> callback = std::move(callback_)) {
            callback->Abort();
        }
    }

private:
    com::ComPtr<BindCallback> callback_;
};

com::ComPtr<IBindHost> BindHostOf(IUnknown* site) {
    com::ComPtr<IBindHost> host;
    if (!site) {
        return host;
    }
    com::ComPtr<IServiceProvider> services;
    if (SUCCEEDED(site->QueryInterface(IID_PPV_ARGS(&services))) &&
        SUCCEEDED(services->QueryService(SID_SBindHost, IID_PPV_ARGS(&host)))) {
        return host;
    }
    host.Reset();
    site->QueryInterface(IID_PPV_ARGS(&host));
    return host;
}

HRESULT Bind(IUnknown* site, const std::wstring& url, BindCallback* callback) {
    com::ComPtr<IUnknown> unused;
    if (com::ComPtr<IBindHost> host = BindHostOf(site)) {
        com::ComPtr<IMoniker> moniker;
        HRESULT hr = host->CreateMoniker(const_cast<LPOLESTR>(url.c_str()), nullptr, &moniker, 0);
        if (SUCCEEDED(hr)) {
            hr = host->MonikerBindToStorage(moniker.Get(), nullptr, callback, IID_IStream,
                                            reinterpret_cast<void**>(unused.GetAddressOf()));
        }
        return hr;
    }
    com::ComPtr<IMoniker> moniker;
    HRESULT hr = ::CreateURLMonikerEx(nullptr, url.c_str(), &moniker, URL_MK_UNIFORM);
    if (FAILED(hr)) {
        return hr;
    }
    com::ComPtr<IBindCtx> context;
    hr = ::CreateAsyncBindCtx(0, callback, nullptr, &context);
    if (FAILED(hr)) {
        return hr;
    }
    return moniker->BindToStorage(context.Get(), nullptr, IID_IStream,
                                  reinterpret_cast<void**>(unused.GetAddressOf()));
}

} // namespace

void Win32UrlDownloadService::Pump::Schedule(BindCallback* read) {
    if (std::find_if(waiting.begin(), waiting.end(),
                     [read](const auto& w) { return w.Get() == read; }) == waiting.end()) {
        waiting.emplace_back(read);
    }
    if (!posted && window) {
        posted = ::PostMessageW(window.Get(), kContinueMessage, 0, 0) != FALSE;
    }
}

void Win32UrlDownloadService::Pump::Forget(BindCallback* read) {
    auto same = [read](const auto& r) { return r.Get() == read; };
    waiting.erase(std::remove_if(waiting.begin(), waiting.end(), same), waiting.end());
    active.erase(std::remove_if(active.begin(), active.end(), same), active.end());
}

void Win32UrlDownloadService::Pump::RunWaiting() {
    posted = false;
    auto turn = std::move(waiting);
    waiting.clear();
    for (auto& read : turn) {
        read->Continue();
    }
}

LRESULT CALLBACK Win32UrlDownloadService::Pump::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                           LPARAM lParam) {
    auto* pump = com::WindowInstance<Pump>(window, message, lParam);
    if (pump && message == kContinueMessage) {
        pump->RunWaiting();
        return 0;
    }
    if (pump && message == WM_TIMER && wParam == kTickTimer) {
        if (auto tick = pump->tick) { // the tick may stop the timer
            tick();
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

Win32UrlDownloadService::Win32UrlDownloadService() : pump_(std::make_shared<Pump>()) {
    com::Module::RegisterWindowClass(kWindowClass, &Pump::WindowProc);
    pump_->window.Reset(::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                          nullptr, com::Module::Handle(), pump_.get()));
}

Win32UrlDownloadService::~Win32UrlDownloadService() {
    StopTicking();
    auto active = std::move(pump_->active);
    pump_->active.clear();
    pump_->waiting.clear();
    for (auto& read : active) {
        read->Abort();
    }
    // Reads still holding the pump may keep its window a while: it no longer reaches the pump.
    if (pump_->window) {
        ::SetWindowLongPtrW(pump_->window.Get(), GWLP_USERDATA, 0);
    }
}

void Win32UrlDownloadService::SetSite(IUnknown* site) {
    pump_->site = site;
}

std::unique_ptr<DownloadRead>
Win32UrlDownloadService::StartRead(const DownloadRequest& request,
                                   std::shared_ptr<DownloadReadSink> sink) {
    com::ComPtr<BindCallback> callback =
        com::Make<BindCallback>(std::move(sink), request.newestVersion, std::weak_ptr<Pump>(pump_));
    if (!callback) {
        return nullptr;
    }
    pump_->active.push_back(callback);
    const HRESULT hr = Bind(pump_->site.Get(), request.url, callback.Get());
    KeepTransportLoaded();
    if (FAILED(hr)) {
        // A failure urlmon already passed through OnStopBinding has reached the sink.
        const bool reported = callback->Reported();
        callback->Abort();
        return reported ? std::make_unique<UrlRead>(callback) : nullptr;
    }
    return std::make_unique<UrlRead>(std::move(callback));
}

std::int64_t Win32UrlDownloadService::NowMilliseconds() {
    return static_cast<std::int64_t>(::GetTickCount64());
}

void Win32UrlDownloadService::StartTicking(std::uint32_t intervalMilliseconds,
                                           std::function<void()> tick) {
    pump_->tick = std::move(tick);
    if (pump_->window) {
        ::SetTimer(pump_->window.Get(), kTickTimer, intervalMilliseconds, nullptr);
    }
}

void Win32UrlDownloadService::StopTicking() {
    if (pump_->window) {
        ::KillTimer(pump_->window.Get(), kTickTimer);
    }
    pump_->tick = nullptr;
}

} // namespace folivex
