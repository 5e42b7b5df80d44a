#pragma once
// The platform side of a download: the transport that fetches a URL asynchronously, and the
// clock that lets a stalled transfer be noticed. Both call back on the control's own thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace folivex {

// What the transport tells about one read. Calls arrive on the control's thread, one at a time,
// in the order progress/data (any number, interleaved) then exactly one completion.
class DownloadReadSink {
public:
    virtual ~DownloadReadSink() = default;
    // Bytes so far and the total; a total of 0 means the size is not known (yet).
    virtual void OnProgress(std::uint64_t current, std::uint64_t total) = 0;
    virtual void OnData(const std::uint8_t* data, std::size_t size) = 0;
    // `transportOk` is false when the binding itself ended in error; `httpStatus` is 0 when the
    // protocol has none or it could not be read.
    virtual void OnComplete(bool transportOk, int httpStatus) = 0;
};

// One outstanding read. After Abort() returns, the sink hears nothing more; it may be called from
// inside a sink callback. Destroying the handle does not abort the read.
class DownloadRead {
public:
    virtual ~DownloadRead() = default;
    virtual void Abort() = 0;
};

struct DownloadRequest {
    std::wstring url;
    // The destination, handed over as the read's property name.
    std::wstring propertyName;
    // Ask the server for the current document rather than a cached copy.
    bool newestVersion = true;
};

class DownloadService {
public:
    virtual ~DownloadService() = default;
    // Starts a read and returns at once. Nothing when the read could not be started; the service
    // keeps the sink alive until the read completes or is aborted. A service may report an
    // immediate failure through the sink before returning.
    virtual std::unique_ptr<DownloadRead> StartRead(const DownloadRequest& request,
                                                    std::shared_ptr<DownloadReadSink> sink) = 0;
};

// A monotonic clock with a repeating tick, used only to notice stalled reads.
class DownloadClock {
public:
    virtual ~DownloadClock() = default;
    virtual std::int64_t NowMilliseconds() = 0;
    // Calls `tick` about every `intervalMilliseconds` on this thread until StopTicking(); a new
    // call replaces the previous tick. The tick may itself call StopTicking(), so an
    // implementation calls a copy of it.
    virtual void StartTicking(std::uint32_t intervalMilliseconds, std::function<void()> tick) = 0;
    virtual void StopTicking() = 0;
};

} // namespace folivex
