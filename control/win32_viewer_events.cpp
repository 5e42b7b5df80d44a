// Raising the four download events through the __Viewer connection point. Every parameter is
// passed by reference; DownloadStarted lends the caller's own string, the others copies.

#include "control/win32_viewer.h"

#include "control/win32_viewer_keep_alive.h"
#include "download/downloader.h"

#include "com/bstr.h"

namespace folivex {
namespace {

VARIANTARG LongRef(LONG* value) {
    VARIANTARG arg;
    ::VariantInit(&arg);
    arg.vt = VT_I4 | VT_BYREF;
    arg.plVal = value;
    return arg;
}

VARIANTARG StringRef(BSTR* value) {
    VARIANTARG arg;
    ::VariantInit(&arg);
    arg.vt = VT_BSTR | VT_BYREF;
    arg.pbstrVal = value;
    return arg;
}

enum EventId : DISPID {
    kDownloadStarted = 1,
    kDownloadProgress = 2,
    kDownloadError = 3,
    kDownloadComplete = 4,
};

} // namespace

// The downloader's events, raised through the control's connection point.
class Viewer::DownloadEventSink final : public DownloadEvents {
public:
    explicit DownloadEventSink(Viewer& viewer) : viewer_(viewer) {}

    void DownloadStarted(std::wstring& SaveFile) override {
        // The handler gets a string of its own by reference; whatever it leaves there is the file.
        com::Bstr file(SaveFile);
        viewer_.FireDownloadStarted(file.InOut());
        SaveFile = file.ToString();
    }
    void DownloadProgress(std::int32_t CurBytes, std::int32_t MaxBytes,
                          std::wstring SaveFile) override {
        viewer_.FireDownloadProgress(CurBytes, MaxBytes, SaveFile);
    }
    void DownloadError(std::wstring SaveFile) override { viewer_.FireDownloadError(SaveFile); }
    void DownloadComplete(std::int32_t MaxBytes, std::wstring SaveFile) override {
        viewer_.FireDownloadComplete(MaxBytes, SaveFile);
    }

private:
    Viewer& viewer_;
};

std::unique_ptr<DownloadEvents> Viewer::MakeDownloadEvents() {
    return std::make_unique<DownloadEventSink>(*this);
}

void Viewer::FireEvent(DISPID id, VARIANTARG* argsLastFirst, UINT count) {
    com::ConnectionPoint* point = connectionPoints_.Find(DIID___Viewer);
    if (!point || !point->HasSinks()) {
        return;
    }
    // A handler may release the control: keep it alive until the event has been delivered.
    KeepAlive hold(*this);
    DISPPARAMS params = {argsLastFirst, nullptr, count, 0};
    point->Fire(id, params);
}

void Viewer::FireDownloadStarted(BSTR* saveFile) {
    VARIANTARG args[] = {StringRef(saveFile)};
    FireEvent(kDownloadStarted, args, 1);
}

void Viewer::FireDownloadProgress(LONG curBytes, LONG maxBytes, const std::wstring& saveFile) {
    com::Bstr file(saveFile);
    VARIANTARG args[] = {StringRef(file.InOut()), LongRef(&maxBytes), LongRef(&curBytes)};
    FireEvent(kDownloadProgress, args, 3);
}

void Viewer::FireDownloadError(const std::wstring& saveFile) {
    com::Bstr file(saveFile);
    VARIANTARG args[] = {StringRef(file.InOut())};
    FireEvent(kDownloadError, args, 1);
}

void Viewer::FireDownloadComplete(LONG maxBytes, const std::wstring& saveFile) {
    com::Bstr file(saveFile);
    VARIANTARG args[] = {StringRef(file.InOut()), LongRef(&maxBytes)};
    FireEvent(kDownloadComplete, args, 2);
}

} // namespace folivex
