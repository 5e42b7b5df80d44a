// The document members: Path, TempPath, OpenPDF, BeginDownload, SaveCopy.

#include "control/win32_viewer.h"

#include "control/win32_document_part.h"
#include "control/win32_reader_windows_part.h"
#include "control/win32_viewer_keep_alive.h"
#include "control/win32_window_creation_watch.h"
#include "viewer_bridge/win32_component_host.h"

#include "com/bstr.h"

namespace folivex {

// What an open needs of the control while it runs: the component, the documents' downloader, the
// thread's message queue and the collecting walk of the window tree below the control's window.
class Viewer::OpenSession final : public OpenEnvironment {
public:
    explicit OpenSession(Viewer& viewer)
        : viewer_(viewer), documents_(*viewer.documents_), creations_(viewer.window_.Get()) {}

    std::wstring TempPath() override { return viewer_.state_.TempPath; }

    bool BeginDownload(std::wstring& strURL, std::wstring& strFile) override {
        download_ = 0;
        return documents_.BeginDownload(strURL, strFile, &download_);
    }
    bool DownloadDone() override {
        return documents_.Outcome(download_) != DownloadOutcome::Pending;
    }
    bool LastDownloadSucceeded() override {
        return download_ != 0 && documents_.Outcome(download_) == DownloadOutcome::Succeeded;
    }

    HResult LoadFile(std::wstring& path) override {
        return LoadFileRequest(*viewer_.component_, path);
    }

    // A window made below the control ends the pass early: the walk that follows may find the
    // document view now, rather than after the rest of the queue (the new windows' painting,
    // for a start) has been handled. What is left is handled by the next pass or the host.
    void ProcessPendingMessages() override {
        creations_.Clear();
        viewer_.ProcessPendingMessages(
            [](void* watch) { return static_cast<WindowCreationWatch*>(watch)->Created(); },
            &creations_);
    }
    // Wakes on any message for the thread (the download's notifications come as messages) and
    // on a window created below the control on this thread since the last walk.
    void WaitForMessage(std::chrono::milliseconds limit) override {
        HANDLE wake = creations_.Wake();
        ::MsgWaitForMultipleObjectsEx(wake ? 1 : 0, wake ? &wake : nullptr,
                                      static_cast<DWORD>(limit.count()), QS_ALLINPUT,
                                      MWMO_INPUTAVAILABLE);
    }
    std::chrono::steady_clock::time_point Now() override {
        return std::chrono::steady_clock::now();
    }

    std::wstring CollectViewerWindows() override {
        HWND root = viewer_.window_.Get();
        if (!root) {
            return std::wstring();
        }
        // This walk sees every window made so far.
        creations_.Clear();
        return viewer_.readerWindows_->CollectViewerWindows(root);
    }

    void ShowComponent(bool visible) override { viewer_.component_->SetVisible(visible); }
    void HideCoverPanel() override {
        if (HWND panel = viewer_.coverPanel_.Get()) {
            ::ShowWindow(panel, SW_HIDE);
        }
    }

    bool Closed() override { return viewer_.Closed() || !viewer_.window_; }

private:
    Viewer& viewer_;
    DocumentPart& documents_;
    WindowCreationWatch creations_;
    DownloadId download_ = 0;
};

HRESULT Viewer::get_Path(BSTR* Path) {
    return com::ReturnBstr(Path, state_.Path);
}

HRESULT Viewer::put_Path(BSTR Path) {
    state_.Path = com::Bstr::ToString(Path);
    return S_OK;
}

HRESULT Viewer::get_TempPath(BSTR* TempPath) {
    return com::ReturnBstr(TempPath, state_.TempPath);
}

HRESULT Viewer::put_TempPath(BSTR TempPath) {
    documents_->PutTempPath(com::Bstr::ToString(TempPath));
    return S_OK;
}

HRESULT Viewer::OpenPDF(BSTR strPath, VARIANT_BOOL* Result) {
    if (!Result) {
        return E_POINTER;
    }
    KeepAlive hold(*this);
    if (ownReferences_ == 1) {
        // A quit met by an earlier open has been left behind by the host's own loop.
        quitting_ = false;
    }
    OpenSession session(*this);
    *Result = documents_->OpenPDF(session, com::Bstr::ToString(strPath));
    return S_OK;
}

HRESULT Viewer::BeginDownload(BSTR* strURL, BSTR* strFile, VARIANT_BOOL* Result) {
    if (!strURL || !strFile || !Result) {
        return E_POINTER;
    }
    KeepAlive hold(*this);
    const std::wstring url = com::Bstr::ToString(*strURL);
    const std::wstring requested = com::Bstr::ToString(*strFile);
    std::wstring file = requested;
    const bool started = documents_->BeginDownload(url, file);
    if (file != requested) {
        // A DownloadStarted handler redirected the download: the caller's variable follows.
        com::AssignBstr(strFile, file);
    }
    *Result = started ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT Viewer::SaveCopy(BSTR* strFile, BSTR strSourcePDF, VARIANT_BOOL* Result) {
    if (!strFile || !Result) {
        return E_POINTER;
    }
    const bool saved =
        documents_->SaveCopy(com::Bstr::ToString(*strFile), com::Bstr::ToString(strSourcePDF));
    *Result = saved ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

} // namespace folivex
