#pragma once
// In-memory models of the download transport and clock for the native tests: reads are started
// and then driven by hand, the clock moves only when told to.

#include "download/download_service.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace folivex::testing {

class FakeDownloadService : public DownloadService {
public:
    struct Read {
        DownloadRequest request;
        std::shared_ptr<DownloadReadSink> sink;
        bool aborted = false;
        bool completed = false;

        bool Live() const { return sink && !aborted && !completed; }
        void Progress(std::uint64_t current, std::uint64_t total) {
            if (Live()) {
                sink->OnProgress(current, total);
            }
        }
        void Data(const std::string& bytes) {
            if (Live()) {
                sink->OnData(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            }
        }
        void Complete(bool transportOk = true, int httpStatus = 200) {
            if (Live()) {
                completed = true;
                auto sink_ = std::move(sink);
                sink_->OnComplete(transportOk, httpStatus);
            }
        }
        // A whole successful body with progress, the way a server delivers it.
        void Deliver(const std::string& body, std::size_t chunk = 4, int httpStatus = 200) {
            for (std::size_t at = 0; at < body.size(); at += chunk) {
                Data(body.substr(at, chunk));
                Progress(std::min(body.size(), at + chunk), body.size());
            }
            Complete(true, httpStatus);
        }
    };

    std::unique_ptr<DownloadRead> StartRead(const DownloadRequest& request,
                                            std::shared_ptr<DownloadReadSink> sink) override {
        if (refuse) {
            return nullptr;
        }
        reads.push_back(std::make_shared<Read>(Read{request, std::move(sink)}));
        auto read = reads.back();
        if (failAtOnce) {
            read->Complete(false, 0);
        }
        return std::make_unique<Handle>(read);
    }

    Read& Last() { return *reads.back(); }

    bool refuse = false;     // StartRead fails without a notification
    bool failAtOnce = false; // the read fails inside StartRead
    std::vector<std::shared_ptr<Read>> reads;

private:
    class Handle : public DownloadRead {
    public:
        explicit Handle(std::shared_ptr<Read> read) : read_(std::move(read)) {}
        void Abort() override {
            if (!read_->completed) {
                read_->aborted = true;
                read_->sink.reset();
            }
        }

    private:
        std::shared_ptr<Read> read_;
    };
};

class FakeDownloadClock : public DownloadClock {
public:
    std::int64_t NowMilliseconds() override { return now; }
    void StartTicking(std::uint32_t intervalMilliseconds, std::function<void()> tick) override {
        interval = intervalMilliseconds;
        tick_ = std::move(tick);
    }
    void StopTicking() override { tick_ = nullptr; }
    bool Ticking() const { return static_cast<bool>(tick_); }

    // Moves time on, ticking at every interval on the way.
    void Advance(std::int64_t milliseconds) {
        const std::int64_t end = now + milliseconds;
        while (now < end) {
            now = std::min<std::int64_t>(end, now + std::max<std::uint32_t>(interval, 1));
            if (tick_) {
                auto tick = tick_;
                tick();
            }
        }
    }

    std::int64_t now = 1'000'000;
    std::uint32_t interval = 1000;

private:
    std::function<void()> tick_;
};

} // namespace folivex::testing
