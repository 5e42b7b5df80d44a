// Figures for the restrictions, printed, never judged:
// - how long a "#32770" dialog lives from its creation until the print suppression closes it
//   (median, 99th percentile, worst) and whether it painted first, over many dialogs shown at
//   random phases of the timer: modeless and modal on the control's thread, modal on another;
// - what the save-key hook adds to each key event: SendInput of N key events to a window of a
//   second thread, timed until the window has them all, with and without the hook.
//
//   folivex_restrictions_bench.exe [--dialogs N] [--keys N] [--rounds N]

#include "tests/windows/restrictions/dialog_template.h"
#include "tests/windows/restrictions/win32_key_input.h"

#include "tests/windows/support/test_window.h"
#include "tests/windows/support/viewer_host.h"

#include "com/bstr.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <random>
#include <thread>
#include <vector>

namespace folivex {
namespace {

constexpr const wchar_t* kBenchDialogTitle = L"Folivex Bench Dialog";

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER value;
        ::QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    LARGE_INTEGER value;
    ::QueryPerformanceCounter(&value);
    return static_cast<double>(value.QuadPart) * 1000.0 / frequency; // milliseconds
}

// Dispatches whatever is pending, then waits at most a millisecond for more.
void PumpBriefly() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const auto index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// One dialog's life: when it was asked for, when WM_CLOSE reached it, whether its client area
// was painted before that. Written by the dialog's thread, read once the dialog has gone.
struct DialogLife {
    std::atomic<double> created{0.0};
    bool modal = false;
    std::atomic<double> closeReceived{0.0};
    std::atomic<bool> paintedBeforeClose{false};
    // When the dialog's own showing ended (the platform's part of the time, with no code of the
    // control in it), and whether WM_CLOSE was already waiting in its queue then.
    std::atomic<double> shown{0.0};
    std::atomic<bool> closeQueuedWhenShown{false};
};

INT_PTR CALLBACK BenchDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        // Created: the window and its controls exist; it is not shown yet.
        reinterpret_cast<DialogLife*>(lParam)->created = Now();
        return TRUE;
    }
    auto* life = reinterpret_cast<DialogLife*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!life) {
        return FALSE;
    }
    if (message == WM_WINDOWPOSCHANGED && life->shown == 0.0 &&
        (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) != 0) {
        life->shown = Now();
        life->closeQueuedWhenShown =
            (HIWORD(::GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE) != 0;
    }
    if (message == WM_PAINT && life->closeReceived == 0.0) {
        life->paintedBeforeClose = true;
        return FALSE; // the default painting
    }
    if (message == WM_CLOSE) {
        if (life->closeReceived == 0.0) {
            life->closeReceived = Now();
        }
        if (life->modal) {
            ::EndDialog(dialog, IDCANCEL);
        } else {
            ::DestroyWindow(dialog);
        }
        return TRUE;
    }
    return FALSE;
}

enum class DialogKind { ModelessSameThread, ModalSameThread, ModalOtherThread };

const char* KindName(DialogKind kind) {
    switch (kind) {
    case DialogKind::ModelessSameThread:
        return "modeless dialog, control's thread";
    case DialogKind::ModalSameThread:
        return "modal dialog, control's thread";
    default:
        return "modal dialog, another thread";
    }
}

// Shows one dialog of `kind` and returns once it has gone (or after 2 s).
void ShowOneDialog(DialogKind kind, const std::vector<WORD>& dialogTemplate, DialogLife& life) {
    const auto* header = reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data());
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const auto parameter = reinterpret_cast<LPARAM>(&life);
    life.modal = kind != DialogKind::ModelessSameThread;
    if (kind == DialogKind::ModalOtherThread) {
        std::atomic<bool> finished{false};
        std::thread owner([&] {
            ::DialogBoxIndirectParamW(instance, header, nullptr, BenchDialogProc, parameter);
            finished = true;
        });
        const double start = Now();
        while (!finished && Now() - start < 4000.0) {
            PumpBriefly();
        }
        owner.join();
        return;
    }
    if (kind == DialogKind::ModalSameThread) {
        // The dialog's own loop runs the control's timers and hook callbacks.
        ::DialogBoxIndirectParamW(instance, header, nullptr, BenchDialogProc, parameter);
        return;
    }
    HWND dialog =
        ::CreateDialogIndirectParamW(instance, header, nullptr, BenchDialogProc, parameter);
    const double start = Now();
    while (dialog && ::IsWindow(dialog) && Now() - start < 2000.0) {
        PumpBriefly();
    }
    if (dialog && ::IsWindow(dialog)) {
        ::DestroyWindow(dialog);
    }
}

void BenchDialogs(testing::ViewerHost& viewer, DialogKind kind, int count) {
    com::Bstr title(kBenchDialogTitle);
    BSTR caption = title.Get();
    viewer.Viewer()->DisablePrintDialog(&caption);
    const std::vector<WORD> dialogTemplate = testing::TitledDialogTemplate(kBenchDialogTitle);
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> phase(0.0, 30.0);
    std::vector<double> lifetimes;
    std::vector<double> showing;
    std::vector<double> afterShown;
    int queuedWhenShown = 0;
    int missed = 0;
    int painted = 0;
    for (int i = 0; i < count; ++i) {
        // A random phase of the 25 ms timer for each dialog.
        const double until = Now() + phase(random);
        while (Now() < until) {
            PumpBriefly();
        }
        DialogLife life;
        ShowOneDialog(kind, dialogTemplate, life);
        if (life.closeReceived == 0.0) {
            ++missed;
            continue;
        }
        lifetimes.push_back(life.closeReceived - life.created);
        if (life.shown > 0.0) {
            showing.push_back(life.shown - life.created);
            afterShown.push_back(life.closeReceived - life.shown);
            queuedWhenShown += life.closeQueuedWhenShown ? 1 : 0;
        }
        painted += life.paintedBeforeClose ? 1 : 0;
    }
    viewer.Viewer()->EnablePrintDialog();
    std::printf("dialog suppression, %s: %zu dialogs closed, %d missed\n", KindName(kind),
                lifetimes.size(), missed);
    std::printf("  creation to WM_CLOSE: median %.1f ms, 99th percentile %.1f ms, worst %.1f ms; "
                "painted before the close: %d of %zu\n",
                Percentile(lifetimes, 0.5), Percentile(lifetimes, 0.99), Percentile(lifetimes, 1.0),
                painted, lifetimes.size());
    std::printf("  of which the dialog showing itself: median %.1f ms; shown to WM_CLOSE: median "
                "%.1f ms, 99th percentile %.1f ms; WM_CLOSE already queued when shown: %d of %zu\n",
                Percentile(showing, 0.5), Percentile(afterShown, 0.5), Percentile(afterShown, 0.99),
                queuedWhenShown, showing.size());
}

// Milliseconds from the first SendInput until the receiver has every event and the sentinel.
double TimeKeys(testing::KeyReceiver& receiver, int taps) {
    std::vector<INPUT> inputs;
    for (int i = 0; i < taps; ++i) {
        testing::AddTap(inputs, 'A');
    }
    testing::AddTap(inputs, testing::kSentinelKey);
    receiver.Clear();
    const size_t expected = inputs.size();
    const double start = Now();
    if (!testing::SendKeys(inputs)) {
        return -1.0;
    }
    while (receiver.Count() < expected) {
        if (Now() - start > 60000.0) {
            return -1.0;
        }
        PumpBriefly();
    }
    return Now() - start;
}

void BenchKeys(testing::ViewerHost& viewer, int taps, int rounds) {
    testing::KeyReceiver receiver;
    if (!receiver.Window() || !testing::MakeForeground(receiver.Window())) {
        std::printf("key hook: no foreground window for the keys\n");
        return;
    }
    const int events = 2 * taps + 2;
    std::vector<double> without;
    std::vector<double> with;
    for (int round = 0; round < rounds; ++round) {
        viewer.Viewer()->put_DisableSaveKeys(VARIANT_FALSE);
        const double plain = TimeKeys(receiver, taps);
        viewer.Viewer()->put_DisableSaveKeys(VARIANT_TRUE);
        const double hooked = TimeKeys(receiver, taps);
        if (plain < 0.0 || hooked < 0.0) {
            std::printf("key hook: round %d lost keys\n", round);
            continue;
        }
        without.push_back(plain * 1000.0 / events);
        with.push_back(hooked * 1000.0 / events);
    }
    viewer.Viewer()->put_DisableSaveKeys(VARIANT_FALSE);
    const double plainMedian = Percentile(without, 0.5);
    const double hookedMedian = Percentile(with, 0.5);
    std::printf("key hook: %d key events per batch, %zu rounds\n", events, with.size());
    std::printf(
        "  per key event: without hook %.1f us, with hook %.1f us (median), added %.1f us\n",
        plainMedian, hookedMedian, hookedMedian - plainMedian);
}

int Argument(int argc, wchar_t** argv, const wchar_t* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wcscmp(argv[i], name) == 0) {
            return std::max(1, static_cast<int>(std::wcstol(argv[i + 1], nullptr, 10)));
        }
    }
    return fallback;
}

} // namespace
} // namespace folivex

int wmain(int argc, wchar_t** argv) {
    using namespace folivex;
    const int dialogs = Argument(argc, argv, L"--dialogs", 200);
    const int taps = Argument(argc, argv, L"--keys", 500);
    const int rounds = Argument(argc, argv, L"--rounds", 5);
    testing::ComApartment apartment;
    testing::ViewerHost viewer;
    if (viewer.CreationResult() != S_OK || !viewer.Viewer()) {
        std::printf("Folivex.Viewer could not be created: 0x%08lx\n",
                    static_cast<unsigned long>(viewer.CreationResult()));
        return 1;
    }
    // The keys first: the dialogs leave the desktop's foreground to chance.
    BenchKeys(viewer, taps, rounds);
    for (DialogKind kind : {DialogKind::ModelessSameThread, DialogKind::ModalSameThread,
                            DialogKind::ModalOtherThread}) {
        BenchDialogs(viewer, kind, dialogs);
    }
    return 0;
}
