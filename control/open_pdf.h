#pragma once
// Opening a document: source choice, download into the temporary directory, PDF check, load
// into the component, wait for its document view, show.

#include "common/file_system.h"
#include "common/portable_types.h"
#include "control/viewer_state.h"
#include "viewer_bridge/viewer_component.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace folivex {

// What an open asks of the control around it. The Win32 control implements it over its
// component host, the download subsystem, its message queue and its window tree.
class OpenEnvironment {
public:
    virtual ~OpenEnvironment() = default;

    // The TempPath property as its getter returns it.
    virtual std::wstring TempPath() = 0;

    // Starts the download of `strURL` into `strFile` and clears the DownloadDone flag. The host's
    // DownloadStarted handler may change `strFile`; its value afterwards is the file written.
    virtual bool BeginDownload(std::wstring& strURL, std::wstring& strFile) = 0;
    // Whether the download this open started has completed or failed. Not the control's one
    // DownloadDone flag: a download the host starts from a handler meanwhile sets that flag when
    // it ends, and must neither end this wait early nor keep it going.
    virtual bool DownloadDone() = 0;
    // Whether the download this open started completed without error and wrote its file.
    virtual bool LastDownloadSucceeded() = 0;

    // The component's load request (see LoadFileRequest below).
    virtual HResult LoadFile(std::wstring& path) = 0;

    // Dispatches every message waiting in the thread's queue, then returns.
    virtual void ProcessPendingMessages() = 0;
    // Blocks until a message arrives in the thread's queue, something else the platform reports
    // may have changed the control's window tree, or `limit` has passed.
    virtual void WaitForMessage(std::chrono::milliseconds limit) = 0;
    // A monotonic clock.
    virtual std::chrono::steady_clock::time_point Now() = 0;

    // One collecting walk over the control's window tree into ViewerState::Captured; returns a
    // non-empty text once it has met the component's document view window.
    virtual std::wstring CollectViewerWindows() = 0;

    virtual void ShowComponent(bool visible) = 0; // the component's site window
    virtual void HideCoverPanel() = 0;

    // True once the container closed the control or the host released its last reference.
    // The control keeps itself alive for the duration of OpenPDF, so the state stays valid.
    virtual bool Closed() = 0;
};

// The load request as the component takes it: member 2 with the path as a string by reference.
HResult LoadFileRequest(ViewerComponent& component, std::wstring& path);

// Bounds of the two waits. Not a property of the control; tests shorten them.
struct OpenWaitSettings {
    // How long the component may take to show a loaded document before the open gives up.
    std::chrono::milliseconds documentViewTimeout{30000};
    // The longest a wait sleeps when nothing wakes it: the download's notifications and the
    // component's windows made on the control's thread do, so this only bounds how late a
    // document view made on another thread is seen.
    std::chrono::milliseconds pollInterval{100};
};

// OpenPDF for one control. Each control owns one opener: it tells an open that waits from a
// later open that the host started while the first was waiting, which shares Path and
// CurrentTempFile with it. A download the host starts itself does not end a waiting open: the
// open follows its own download to its end.
class DocumentOpener {
public:
    DocumentOpener() = default;
    explicit DocumentOpener(OpenWaitSettings settings) : settings_(settings) {}

    // Opens `strPath`, or `Path` when `strPath` is blank; True once the document is shown.
    // Never fails otherwise than by returning False.
    AutoBool OpenPDF(ViewerState& state, OpenEnvironment& env, FileSystem& fs,
                     std::wstring strPath);

private:
    class Call;

    OpenWaitSettings settings_;
    // Counts the downloads and load requests opens started; an open whose own is no longer the
    // last has been overtaken by another open and leaves the state to it.
    std::uint64_t generation_ = 0;
};

} // namespace folivex
