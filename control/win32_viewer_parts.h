#pragma once
// What one Viewer holds besides its windows and its component: the member state and the
// platform objects each subsystem's logic runs on. Everything here lives and dies with the
// control, on the control's thread.

#include "control/win32_viewer.h"

#include "control/open_pdf.h"
#include "control/viewer_state.h"
#include "download/downloader.h"
#include "download/win32_url_download.h"
#include "reader_windows/toolbar.h"
#include "reader_windows/win32_top_level_windows.h"
#include "reader_windows/win32_window_actions.h"
#include "reader_windows/win32_window_tree.h"
#include "restrictions/dialog_suppression.h"
#include "restrictions/win32_dialog_creation_hook.h"
#include "restrictions/win32_desktop_windows.h"
#include "restrictions/win32_save_key_hook.h"
#include "viewer_bridge/viewer_commands.h"
#include "viewer_bridge/win32_clipboard.h"
#include "viewer_bridge/win32_keystrokes.h"

#include "common/win32_file_system.h"

namespace folivex {

// Timer1 and Timer2: repeating timers of the control's window, whose ticks its window
// procedure hands to the dialog suppression.
class ViewerTimer final : public RepeatingTimer {
public:
    ViewerTimer(com::WindowTimer& timer, HWND& window, UINT_PTR id)
        : timer_(timer), window_(window), id_(id) {}
    bool Start() override { return timer_.Start(window_, id_, kDialogTimerIntervalMs); }
    void Stop() override { timer_.Stop(); }
    bool Running() const override { return timer_.Running(); }

private:
    com::WindowTimer& timer_;
    HWND& window_;
    UINT_PTR id_;
};

struct Viewer::Parts {
    explicit Parts(Viewer& viewer);

    // The four download events, raised through the control's connection point.
    class Events final : public DownloadEvents {
    public:
        explicit Events(Viewer& viewer) : viewer_(viewer) {}
        void DownloadStarted(std::wstring& SaveFile) override;
        void DownloadProgress(std::int32_t CurBytes, std::int32_t MaxBytes,
                              std::wstring SaveFile) override;
        void DownloadError(std::wstring SaveFile) override;
        void DownloadComplete(std::int32_t MaxBytes, std::wstring SaveFile) override;

    private:
        Viewer& viewer_;
    };

    // Picture1 as the toolbar logic places it, and the control's surface for Refresh.
    class Surface final : public CoverPanel, public ControlSurface {
    public:
        explicit Surface(Viewer& viewer) : viewer_(viewer) {}
        void ShowAtTopRight() override;
        void RepaintNow() override;

    private:
        Viewer& viewer_;
    };

    ViewerState state;
    Win32FileSystem files;

    Win32UrlDownloadService downloadService; // outlives the downloader, which reads through it
    Events events;
    Downloader downloader;
    DocumentOpener opener;

    Win32WindowTree tree;
    Win32WindowActions windowActions;
    Win32TopLevelWindows topLevelWindows;
    Surface surface;

    HWND timerWindow = nullptr; // the control's window once it exists
    ViewerTimer timer1;
    ViewerTimer timer2;
    DialogRestrictions dialogs;
    Win32DialogCreationWatch dialogWatch{dialogs}; // closes the dialogs before the timers do
    Win32DesktopWindows desktop;
    Win32SaveKeyBlocking saveKeys;

    Win32Clipboard clipboard;
    Win32KeystrokeSender keys;
};

} // namespace folivex

namespace folivex {

// Holds the control for the length of a call that lets the host's code run (a wait, an event),
// so that the host may release it meanwhile; the hold is counted as the control's own, which
// Closed() leaves out.
class Viewer::KeepAlive {
public:
    explicit KeepAlive(Viewer& viewer) : viewer_(&viewer) { ++viewer.ownReferences_; }
    ~KeepAlive() { --viewer_->ownReferences_; }
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;

private:
    com::ComPtr<Viewer> viewer_;
};

} // namespace folivex
