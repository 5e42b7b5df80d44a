#pragma once
// BeginDownload and the handling of the transport's notifications: the four download events,
// the DownloadDone flag and the file the body is saved to.

#include "common/file_system.h"
#include "common/portable_types.h"
#include "download/download_service.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace folivex {

// The control's events, raised synchronously from inside BeginDownload and the notifications.
// Only DownloadStarted passes a value back: a handler that assigns SaveFile redirects the
// download.
class DownloadEvents {
public:
    virtual ~DownloadEvents() = default;
    virtual void DownloadStarted(std::wstring& SaveFile) = 0;
    virtual void DownloadProgress(std::int32_t CurBytes, std::int32_t MaxBytes,
                                  std::wstring SaveFile) = 0;
    virtual void DownloadError(std::wstring SaveFile) = 0;
    virtual void DownloadComplete(std::int32_t MaxBytes, std::wstring SaveFile) = 0;
};

// Identifies one download started by BeginDownload; 0 is none.
using DownloadId = std::uint64_t;

enum class DownloadOutcome {
    Unknown,   // never started here, or forgotten
    Pending,   // started, not finished
    Succeeded, // the whole body is in the destination
    Failed,    // nothing usable was saved; an existing destination is unchanged
};

class Downloader {
public:
    static constexpr std::int64_t kDefaultStallMilliseconds = 60'000;

    Downloader(DownloadService& service, FileSystem& files, DownloadClock& clock,
               DownloadEvents& events);
    // Aborts the reads still outstanding and removes their partial files, raising no event.
    ~Downloader();
    Downloader(const Downloader&) = delete;
    Downloader& operator=(const Downloader&) = delete;

    // Raises DownloadStarted with the caller's strFile, then starts the read to the (possibly
    // redirected) file. True when the read was started; `id` receives its identity.
    bool BeginDownload(const std::wstring& strURL, std::wstring& strFile, DownloadId* id = nullptr);

    // False from a BeginDownload until any download finishes; one flag for all downloads.
    AutoBool DownloadDone() const { return downloadDone_; }

    DownloadOutcome Outcome(DownloadId id) const;

    // A read that delivers nothing for this long is aborted as failed.
    void SetStallMilliseconds(std::int64_t milliseconds) { stallMilliseconds_ = milliseconds; }

private:
    class Transfer;
    friend class Transfer;

    void Finish(const std::shared_ptr<Transfer>& transfer, bool succeeded, std::int64_t bytes);
    void Tick();
    void UpdateTicking();
    void RememberOutcome(DownloadId id, DownloadOutcome outcome);

    DownloadService& service_;
    FileSystem& files_;
    DownloadClock& clock_;
    DownloadEvents& events_;
    AutoBool downloadDone_ = kAutoFalse;
    std::int64_t stallMilliseconds_ = kDefaultStallMilliseconds;
    bool ticking_ = false;
    DownloadId lastId_ = 0;
    std::map<DownloadId, std::shared_ptr<Transfer>> active_;
    std::map<DownloadId, DownloadOutcome> finished_;
    // Expires when this object is destroyed, which an event handler may cause.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace folivex
