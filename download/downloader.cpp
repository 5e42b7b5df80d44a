#include "download/downloader.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <optional>
#include <random>
#include <utility>
#include <vector>

namespace folivex {
namespace {

// Finished downloads whose outcome stays available; older ones are forgotten.
constexpr std::size_t kRememberedOutcomes = 64;

std::int32_t ToLong(std::uint64_t value) {
    return static_cast<std::int32_t>(
        std::min<std::uint64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

// A host's handler that fails must not stop the notification from being handled.
template <typename Raise>
void RaiseSwallowingErrors(Raise&& raise) {
    try {
        raise();
    } catch (...) {
    }
}

// A random tag drawn once per process: another process downloading the same name into the
// same directory draws its own, so the two never write into one part file.
const std::wstring& ProcessTag() {
    static const std::wstring tag = [] {
        std::random_device source;
        const std::uint64_t value = (std::uint64_t{source()} << 32) ^ source();
        wchar_t text[17] = {};
        for (int i = 15; i >= 0; --i) {
            text[i] = L"0123456789abcdef"[(value >> ((15 - i) * 4)) & 0xF];
        }
        return std::wstring(text);
    }();
    return tag;
}

// The process's tag and a counter, so neither two controls of one process nor two processes
// saving to the same name share a part file.
std::wstring PartFileFor(const std::wstring& destination) {
    static std::atomic<std::uint64_t> counter{0};
    return destination + L"." + ProcessTag() + L"-" + std::to_wstring(++counter) + L".part";
}

} // namespace

// One read: receives the transport's notifications and streams the body to a part file next to
// the destination. It outlives its Downloader when the transport still holds it, so it reaches
// the Downloader only through owner_, which the Downloader clears when it lets go.
class Downloader::Transfer : public DownloadReadSink,
                             public std::enable_shared_from_this<Downloader::Transfer> {
public:
    Transfer(Downloader& owner, DownloadId id, std::wstring destination)
        : owner_(&owner), id_(id), destination_(std::move(destination)),
          partFile_(PartFileFor(destination_)), lastActivity_(owner.clock_.NowMilliseconds()) {}

    void OnProgress(std::uint64_t current, std::uint64_t total) override {
        if (!owner_ || done_) {
            return;
        }
        auto keep = shared_from_this();
        if (current > lastProgress_) {
            lastProgress_ = current;
            lastActivity_ = owner_->clock_.NowMilliseconds();
        }
        announced_ = std::max(announced_, total);
        if (total == 0) {
            return;
        }
        if (inHandler_) {
            // Raised once the handler has returned; only the latest step is still news then.
            deferredProgress_ = {current, total};
            return;
        }
        DownloadEvents& events = owner_->events_;
        RaiseOwnEvent(
            [&] { events.DownloadProgress(ToLong(current), ToLong(total), destination_); });
    }

    void OnData(const std::uint8_t* data, std::size_t size) override {
        if (!owner_ || done_ || failDeferred_) {
            return;
        }
        auto keep = shared_from_this();
        lastActivity_ = owner_->clock_.NowMilliseconds();
        if (size == 0) {
            return;
        }
        if (!writer_) {
            if (destination_.empty() || !(writer_ = owner_->files_.CreateForWriting(partFile_))) {
                Fail();
                return;
            }
            partCreated_ = true;
        }
        if (!writer_->Write(data, size)) {
            Fail();
            return;
        }
        received_ += size;
    }

    void OnComplete(bool transportOk, int httpStatus) override {
        if (!owner_ || done_) {
            return;
        }
        auto keep = shared_from_this();
        transportEnded_ = true;
        if (inHandler_) {
            // The end of the download waits until the host's handler has returned.
            deferredCompletion_ = Completion{transportOk, httpStatus};
            return;
        }
        // A connection that closes early can still end the binding without error: a body short of
        // the length the server announced is a failed download too.
        const bool bodyOk =
            transportOk && httpStatus < 400 && received_ > 0 && writer_ && received_ >= announced_;
        if (!bodyOk) {
            Fail();
            return;
        }
        const bool closed = writer_->Close();
        writer_.reset();
        if (!closed || !owner_->files_.MoveReplacing(partFile_, destination_)) {
            Fail();
            return;
        }
        owner_->Finish(keep, true, received_);
    }

    // Ends the read as failed: the transport is stopped and the part file removed. Inside a
    // handler of this download's own event the failure waits until the handler has returned.
    void Fail() {
        if (inHandler_) {
            failDeferred_ = true;
            return;
        }
        Discard();
        owner_->Finish(shared_from_this(), false, 0);
    }

    // Raises an event of this download. Until the handler returns, nothing else of this download
    // is raised (a handler that shows a message box pumps messages, and with them our
    // notifications) and its stall clock does not run; what came meanwhile follows afterwards.
    template <typename Raise>
    void RaiseOwnEvent(Raise&& raise) {
        auto keep = shared_from_this();
        inHandler_ = true;
        RaiseSwallowingErrors(raise);
        inHandler_ = false;
        if (!owner_ || done_) {
            return;
        }
        lastActivity_ = owner_->clock_.NowMilliseconds();
        RunDeferred();
    }

    // What the transport told while events were held back, in its order: the latest progress,
    // then a failure or the end.
    void RunDeferred() {
        if (!owner_ || done_) {
            return;
        }
        if (deferredProgress_) {
            // Named copies, not a structured binding: a lambda cannot capture one before C++20,
            // and clang 14 (the fuzz build) has not got that part of C++20.
            const std::uint64_t current = deferredProgress_->first;
            const std::uint64_t total = deferredProgress_->second;
            deferredProgress_.reset();
            DownloadEvents& events = owner_->events_;
            RaiseOwnEvent(
                [&] { events.DownloadProgress(ToLong(current), ToLong(total), destination_); });
            return;
        }
        if (failDeferred_) {
            failDeferred_ = false;
            Fail();
            return;
        }
        if (deferredCompletion_) {
            const Completion completion = *deferredCompletion_;
            deferredCompletion_.reset();
            OnComplete(completion.transportOk, completion.httpStatus);
        }
    }

    // Whether the stall clock runs: not while the host handles one of this download's events.
    bool Stalled(std::int64_t now, std::int64_t limit) const {
        return !inHandler_ && now - lastActivity_ >= limit;
    }

    // Stops the transport and removes the part file; raises nothing.
    void Discard() {
        done_ = true;
        if (!transportEnded_ && read_) {
            transportEnded_ = true;
            read_->Abort();
        }
        read_.reset();
        if (writer_) {
            writer_->Close();
            writer_.reset();
        }
        if (partCreated_) {
            partCreated_ = false;
            owner_->files_.DeleteFile(partFile_);
        }
    }

    Downloader* owner_;
    const DownloadId id_;
    const std::wstring destination_;
    const std::wstring partFile_;
    std::unique_ptr<DownloadRead> read_;
    std::unique_ptr<FileWriter> writer_;
    std::uint64_t received_ = 0;
    std::uint64_t lastProgress_ = 0;
    // The largest total the transport announced; 0 while the size is unknown.
    std::uint64_t announced_ = 0;
    std::int64_t lastActivity_;
    bool partCreated_ = false;
    bool transportEnded_ = false;
    bool done_ = false;

    struct Completion {
        bool transportOk;
        int httpStatus;
    };
    bool inHandler_ = false;
    bool failDeferred_ = false;
    std::optional<std::pair<std::uint64_t, std::uint64_t>> deferredProgress_;
    std::optional<Completion> deferredCompletion_;
};

Downloader::Downloader(DownloadService& service, FileSystem& files, DownloadClock& clock,
                       DownloadEvents& events)
    : service_(service), files_(files), clock_(clock), events_(events) {}

Downloader::~Downloader() {
    auto transfers = std::move(active_);
    active_.clear();
    for (auto& [id, transfer] : transfers) {
        transfer->Discard();
        transfer->owner_ = nullptr;
    }
    if (ticking_) {
        clock_.StopTicking();
    }
}

bool Downloader::BeginDownload(const std::wstring& strURL, std::wstring& strFile, DownloadId* id) {
    std::weak_ptr<int> alive = alive_;
    downloadDone_ = kAutoFalse;
    RaiseSwallowingErrors([&] { events_.DownloadStarted(strFile); });
    if (alive.expired()) {
        return false;
    }

    const DownloadId newId = ++lastId_;
    auto transfer = std::make_shared<Transfer>(*this, newId, strFile);
    active_[newId] = transfer;
    UpdateTicking();

    DownloadRequest request{strURL, strFile, true};
    // Nothing the transport says while the read is being started becomes an event yet.
    transfer->inHandler_ = true;
    std::unique_ptr<DownloadRead> read = service_.StartRead(request, transfer);
    transfer->inHandler_ = false;
    if (alive.expired()) {
        if (read) {
            read->Abort();
        }
        return false;
    }
    const bool refusedAtOnce =
        transfer->failDeferred_ ||
        (transfer->deferredCompletion_ && !transfer->deferredCompletion_->transportOk);
    if (!read || refusedAtOnce) {
        // A read the service refused at once: False, and no event for it, as for one that
        // never started; DownloadDone stays False.
        if (read) {
            transfer->read_ = std::move(read);
        }
        transfer->Discard();
        transfer->owner_ = nullptr;
        active_.erase(newId);
        RememberOutcome(newId, DownloadOutcome::Failed);
        UpdateTicking();
        return false;
    }
    if (id) {
        *id = newId;
    }
    transfer->read_ = std::move(read);
    // A read that progressed or even finished while it was being started goes on now.
    transfer->RunDeferred();
    return true;
}

DownloadOutcome Downloader::Outcome(DownloadId id) const {
    if (active_.count(id)) {
        return DownloadOutcome::Pending;
    }
    auto found = finished_.find(id);
    return found == finished_.end() ? DownloadOutcome::Unknown : found->second;
}

void Downloader::Finish(const std::shared_ptr<Transfer>& transfer, bool succeeded,
                        std::int64_t bytes) {
    transfer->done_ = true;
    transfer->read_.reset();
    transfer->owner_ = nullptr;
    active_.erase(transfer->id_);
    RememberOutcome(transfer->id_,
                    succeeded ? DownloadOutcome::Succeeded : DownloadOutcome::Failed);
    UpdateTicking();

    // Set before the events, so a handler that starts another download keeps its False.
    downloadDone_ = kAutoTrue;
    const std::wstring saveFile = transfer->destination_;
    std::weak_ptr<int> alive = alive_;
    if (!succeeded) {
        RaiseSwallowingErrors([&] { events_.DownloadError(saveFile); });
        if (alive.expired()) {
            return;
        }
    }
    RaiseSwallowingErrors([&] {
        events_.DownloadComplete(succeeded ? ToLong(static_cast<std::uint64_t>(bytes)) : 0,
                                 saveFile);
    });
}

void Downloader::Tick() {
    const std::int64_t now = clock_.NowMilliseconds();
    std::vector<std::shared_ptr<Transfer>> stalled;
    for (auto& [id, transfer] : active_) {
        if (transfer->Stalled(now, stallMilliseconds_)) {
            stalled.push_back(transfer);
        }
    }
    std::weak_ptr<int> alive = alive_;
    for (auto& transfer : stalled) {
        if (alive.expired()) {
            return;
        }
        // An earlier failure's handler may have ended or replaced this one.
        if (transfer->owner_ == this && !transfer->done_) {
            transfer->Fail();
        }
    }
}

void Downloader::UpdateTicking() {
    if (!active_.empty() && !ticking_) {
        ticking_ = true;
        const auto interval =
            static_cast<std::uint32_t>(std::clamp<std::int64_t>(stallMilliseconds_ / 10, 50, 1000));
        std::weak_ptr<int> alive = alive_;
        clock_.StartTicking(interval, [this, alive] {
            if (!alive.expired()) {
                Tick();
            }
        });
    } else if (active_.empty() && ticking_) {
        ticking_ = false;
        clock_.StopTicking();
    }
}

void Downloader::RememberOutcome(DownloadId id, DownloadOutcome outcome) {
    finished_[id] = outcome;
    while (finished_.size() > kRememberedOutcomes) {
        finished_.erase(finished_.begin());
    }
}

} // namespace folivex
