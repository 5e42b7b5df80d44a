// The dialog suppression's creation hook on a real desktop: a suppressed dialog is closed as it
// is created, from the hook alone. The test's thread takes every message except WM_TIMER, so
// the suppression timers (the safety net) never tick and a missing hook leaves the dialog to
// its own timeout.

#include "tests/windows/restrictions/dialog_template.h"
#include "tests/windows/support/viewer_host.h"

#include "com/bstr.h"
#include "com/unique_handle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace folivex {
namespace {

constexpr const wchar_t* kTitle = L"Folivex Hook Test";
constexpr UINT kOwnTimeoutMs = 8000;
constexpr UINT_PTR kOwnTimeoutTimer = 1;

enum class Ending { None, Closed, TimedOut };

// A modal dialog of `title` on the calling thread, ending on WM_CLOSE or after its own time.
struct ModalDialog {
    std::atomic<Ending> ending{Ending::None};
    std::atomic<bool> paintedFirst{false};

    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            ::SetTimer(dialog, kOwnTimeoutTimer, kOwnTimeoutMs, nullptr);
            return TRUE;
        }
        auto* self = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        if (!self) {
            return FALSE;
        }
        if (message == WM_PAINT && self->ending == Ending::None) {
            self->paintedFirst = true;
            return FALSE; // the default painting
        }
        if (message == WM_CLOSE || (message == WM_TIMER && wParam == kOwnTimeoutTimer)) {
            self->ending = message == WM_CLOSE ? Ending::Closed : Ending::TimedOut;
            ::EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    }

    void Run(const wchar_t* title) {
        const std::vector<WORD> words = testing::TitledDialogTemplate(title);
        ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                                  reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr,
                                  Procedure, reinterpret_cast<LPARAM>(this));
    }
};

// Handles this thread's messages, WM_TIMER excepted, until `ended` is set.
void PumpWithoutTimersUntil(HANDLE ended) {
    const DWORD start = ::GetTickCount();
    while (::MsgWaitForMultipleObjects(1, &ended, FALSE, 50, QS_ALLINPUT & ~QS_TIMER) !=
               WAIT_OBJECT_0 &&
           ::GetTickCount() - start < 4 * kOwnTimeoutMs) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               ::PeekMessageW(&message, nullptr, WM_TIMER + 1, 0xFFFF, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

class DialogCreationHook : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(viewer_.CreationResult(), S_OK); }

    void Disable(HRESULT (STDMETHODCALLTYPE _Viewer::*method)(BSTR*)) {
        com::Bstr text(kTitle);
        BSTR argument = text.Get();
        ASSERT_EQ((viewer_.Viewer()->*method)(&argument), S_OK);
    }

    // Shows the dialog on a thread of its own and says how it ended.
    Ending DialogOfAnotherThread() {
        ModalDialog dialog;
        com::UniqueKernelHandle ended(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::thread owner([&] {
            dialog.Run(kTitle);
            ::SetEvent(ended.Get());
        });
        PumpWithoutTimersUntil(ended.Get());
        owner.join();
        return dialog.ending;
    }

    testing::ComApartment apartment_;
    testing::ViewerHost viewer_;
};

TEST_F(DialogCreationHook, ClosesADialogOfAnotherThreadWithoutTheTimers) {
    Disable(&_Viewer::DisablePrintDialog);
    EXPECT_EQ(DialogOfAnotherThread(), Ending::Closed);
    // The save suppression has the hook too, once print suppression is off.
    ASSERT_EQ(viewer_.Viewer()->EnablePrintDialog(), S_OK);
    Disable(&_Viewer::DisableSaveDialog);
    EXPECT_EQ(DialogOfAnotherThread(), Ending::Closed);
}

TEST_F(DialogCreationHook, ClosesADialogOfTheControlsOwnThreadBeforeItPaints) {
    Disable(&_Viewer::DisablePrintDialog);
    // The dialog's own loop runs the timers here; but a loop takes posted messages before it
    // paints and paints before it takes a timer's: only a close posted as the dialog was
    // created reaches it unpainted.
    ModalDialog dialog;
    dialog.Run(kTitle);
    EXPECT_EQ(dialog.ending, Ending::Closed);
    EXPECT_FALSE(dialog.paintedFirst);
}

TEST_F(DialogCreationHook, NothingIsClosedOnceTheLastSuppressionIsOff) {
    Disable(&_Viewer::DisablePrintDialog);
    ASSERT_EQ(viewer_.Viewer()->EnablePrintDialog(), S_OK);
    EXPECT_EQ(DialogOfAnotherThread(), Ending::TimedOut);
}

} // namespace
} // namespace folivex
