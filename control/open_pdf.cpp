#include "control/open_pdf.h"

#include "common/automation_text.h"
#include "common/file_exists.h"
#include "control/document_source.h"

#include <algorithm>
#include <array>
#include <exception>

namespace folivex {
HResult LoadFileRequest(ViewerComponent& component, std::wstring& path) {
    const std::array<ComponentArg, 1> args = {ComponentArg::StringByRef(path)};
    return component.Invoke(component_member::kLoadFile, args);
}

// One call of OpenPDF, with what it needs to notice that the host's code, run while it
// processed messages, closed the control or started another open.
class DocumentOpener::Call {
public:
    Call(DocumentOpener& opener, ViewerState& state, OpenEnvironment& env, FileSystem& fs)
        : opener_(opener), state_(state), env_(env), fs_(fs),
          poll_(std::max(opener.settings_.pollInterval, std::chrono::milliseconds(1))),
          mine_(opener.generation_) {}

    bool Run(std::wstring strPath);

private:
    // Marks the start of something only one open at a time can own: a download or a load.
    void Claim() { mine_ = ++opener_.generation_; }
    // The control was closed, or a later open (or download) took over; this call then ends
    // with False and leaves the component and the state as they are now.
    bool Interrupted() { return env_.Closed() || opener_.generation_ != mine_; }

    bool Fail() {
        env_.ShowComponent(false);
        return false;
    }

    bool Download(const std::wstring& address, std::wstring& target);
    bool WaitForDownload();
    bool Load(std::wstring working, bool downloaded);
    // 1: the document view is there; 0: gave up; -1: interrupted.
    int WaitForDocumentView();

    DocumentOpener& opener_;
    ViewerState& state_;
    OpenEnvironment& env_;
    FileSystem& fs_;
    std::chrono::milliseconds poll_;
    std::uint64_t mine_;
};

bool DocumentOpener::Call::Run(std::wstring strPath) {
    std::wstring working = std::move(strPath);
    if (TrimSpaces(working).empty()) {
        if (TrimSpaces(state_.Path).empty()) {
            return false;
        }
        working = state_.Path;
    }
    working = TrimSpaces(StripAtNull(working));

    if (IsRemoteAddress(working)) {
        std::wstring target;
        if (!Download(working, target)) {
            return false;
        }
        state_.Path = working;
        return Load(target, true);
    }

    // A failed local open leaves the document shown before where it was.
    if (!FileExists(fs_, working)) {
        return false;
    }
    if (!HasKnownExtension(working) && !HasPdfHeader(fs_, working)) {
        return false;
    }
    return Load(std::move(working), false);
}

bool DocumentOpener::Call::Download(const std::wstring& address, std::wstring& target) {
    const std::wstring name = FileNameFromUrl(address);
    if (!IsPlainFileName(name)) {
        // "..\x.pdf", "sub\x.pdf" or "C:x.pdf" would land outside the download directory.
        return Fail();
    }
    std::wstring url = address;
    target = env_.TempPath() + name;
    if (!state_.CurrentTempFile.empty() && SameFilePath(target, state_.CurrentTempFile)) {
        // The same address again: the component holds the copy it shows open, so the fresh copy
        // goes beside it, and the shown one is deleted once the fresh one is shown.
        target = BesideCopyName(target);
    }
    Claim();
    const bool started = env_.BeginDownload(url, target);
    if (Interrupted()) {
        return false;
    }
    if (!started) {
        return Fail();
    }
    if (!WaitForDownload()) {
        return false;
    }
    // A file of the same name from an earlier download may still stand in the directory; a
    // failed download must not pass it off as the document asked for.
    if (!env_.LastDownloadSucceeded()) {
        return Fail();
    }
    if (!HasKnownExtension(target) && !HasPdfHeader(fs_, target)) {
        // The copy stays where it is, unrecorded.
        return Fail();
    }
    return true;
}

bool DocumentOpener::Call::WaitForDownload() {
    while (!env_.DownloadDone()) {
        env_.ProcessPendingMessages();
        if (Interrupted()) {
            return false;
        }
        if (env_.DownloadDone()) {
            break;
        }
        env_.WaitForMessage(poll_);
        if (Interrupted()) {
            return false;
        }
    }
    return true;
}

bool DocumentOpener::Call::Load(std::wstring working, bool downloaded) {
    if (!FileExists(fs_, working)) {
        return Fail();
    }
    if (!downloaded) {
        state_.Path = working;
    }
    env_.ProcessPendingMessages();
    if (Interrupted()) {
        return false;
    }
    // The host's code ran in that processing and may have taken the file away: the component
    // shows no document view for a missing file, and the open would wait out its whole bound.
    if (!FileExists(fs_, working)) {
        return Fail();
    }

    // The component gets a copy: whatever it writes back must not redirect the deletion of
    // the copy we downloaded.
    std::wstring request = working;
    Claim();
    const HResult loaded = env_.LoadFile(request);
    if (Interrupted()) {
        return false;
    }
    if (Failed(loaded)) {
        // No document view will come for a load that was refused.
        return Fail();
    }

    state_.Captured.Clear();
    const int view = WaitForDocumentView();
    if (view < 0) {
        return false;
    }
    if (view == 0) {
        return Fail();
    }

    env_.HideCoverPanel();
    env_.ShowComponent(true);
    state_.ToolbarClosed = kAutoFalse;

    // The same address opened twice downloads onto the copy that is now shown: keep it.
    if (!state_.CurrentTempFile.empty() && !SameFilePath(state_.CurrentTempFile, working) &&
        FileExists(fs_, state_.CurrentTempFile)) {
        // A copy still in use elsewhere stays behind.
        fs_.DeleteFile(state_.CurrentTempFile);
    }
    state_.CurrentTempFile = downloaded ? working : std::wstring();
    return true;
}

int DocumentOpener::Call::WaitForDocumentView() {
    const auto deadline = env_.Now() + opener_.settings_.documentViewTimeout;
    for (;;) {
        env_.ProcessPendingMessages();
        if (Interrupted()) {
            return -1;
        }
        if (!env_.CollectViewerWindows().empty()) {
            return 1;
        }
        const auto now = env_.Now();
        if (now >= deadline) {
            return 0;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        env_.WaitForMessage(std::min(poll_, left));
        if (Interrupted()) {
            return -1;
        }
    }
}

AutoBool DocumentOpener::OpenPDF(ViewerState& state, OpenEnvironment& env, FileSystem& fs,
                                 std::wstring strPath) {
    try {
        Call call(*this, state, env, fs);
        return ToAutoBool(call.Run(std::move(strPath)));
    } catch (const std::exception&) {
        // The host never sees an error from an open, only its False.
        return kAutoFalse;
    }
}

} // namespace folivex
