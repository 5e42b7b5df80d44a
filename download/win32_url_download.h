#pragma once
// The download transport on urlmon: asynchronous binds to an IStream on the control's thread,
// through the container's IBindHost when its site offers one. Also the stall clock, ticking on
// a message-only window of its own.

#include "download/download_service.h"

#include <windows.h>
#include <unknwn.h>

#include <memory>

namespace folivex {

class Win32UrlDownloadService : public DownloadService, public DownloadClock {
public:
    Win32UrlDownloadService();
    // Aborts the binds still running.
    ~Win32UrlDownloadService() override;
    Win32UrlDownloadService(const Win32UrlDownloadService&) = delete;
    Win32UrlDownloadService& operator=(const Win32UrlDownloadService&) = delete;

    // The control's client site (or null): asked for IBindHost at each StartRead.
    void SetSite(IUnknown* site);

    std::unique_ptr<DownloadRead> StartRead(const DownloadRequest& request,
                                            std::shared_ptr<DownloadReadSink> sink) override;

    std::int64_t NowMilliseconds() override;
    void StartTicking(std::uint32_t intervalMilliseconds, std::function<void()> tick) override;
    void StopTicking() override;

    struct Pump; // the message-only window and the reads waiting for their next chunk

private:
    std::shared_ptr<Pump> pump_;
};

} // namespace folivex
