#pragma once
// Keeping the viewer's Print and Save dialogs away from the end user. The control cannot switch
// them off inside the component, so while a suppression is on its timer polls the desktop and
// closes a dialog with the given title as soon as one shows, in whatever application.

#include "common/portable_types.h"

#include <string>

namespace folivex {

inline constexpr const wchar_t* kDefaultPrintDialogCaption = L"print";
inline constexpr const wchar_t* kDefaultSaveDialogCaption = L"save a copy...";
inline constexpr const char* kDialogWindowClass = "#32770";
inline constexpr unsigned kDialogTimerIntervalMs = 25;
// Class names are read into a buffer of this many bytes, terminator included.
inline constexpr int kClassNameBufferSize = 256;

// The desktop's top-level windows, through the ANSI user32 calls.
class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;
    // FindWindowA(null, title): the first top-level window whose whole title matches, letter case
    // ignored; 0 when none does. The title is converted to the ANSI code page.
    virtual WindowHandle FindTopLevelWindow(const std::wstring& title) = 0;
    // GetClassNameA into a kClassNameBufferSize buffer; "" when the call fails.
    virtual std::string ClassName(WindowHandle window) = 0;
    // PostMessageA(window, WM_CLOSE, 0, 0); nothing waits for the window to go.
    virtual void PostClose(WindowHandle window) = 0;
};

// One of the control's repeating timers (Timer1, Timer2), created stopped with an interval of
// kDialogTimerIntervalMs; its ticks arrive through the user-interface thread's message queue.
class RepeatingTimer {
public:
    virtual ~RepeatingTimer() = default;
    virtual bool Start() = 0; // false when the platform gave no timer
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
};

// One suppression: a caption and the timer that polls for it.
class DialogSuppression {
public:
    explicit DialogSuppression(RepeatingTimer& timer) : timer_(timer) {}

    // The caption is replaced even when the suppression is already on.
    void Disable(const std::wstring& caption);
    // Stops the polling; the caption is kept.
    void Enable();
    bool Active() const { return timer_.Running(); }
    const std::wstring& Caption() const { return caption_; }

    // Looks at the first window the platform finds with the caption, and closes it only if it is
    // a dialog; a same-titled window behind it waits for a later tick.
    void Tick(DesktopWindows& desktop);

private:
    RepeatingTimer& timer_;
    std::wstring caption_;
};

// The print and save suppressions of one control; they are independent of each other.
class DialogRestrictions {
public:
    DialogRestrictions(RepeatingTimer& timer1, RepeatingTimer& timer2)
        : print_(timer1), save_(timer2) {}

    void DisablePrintDialog(const std::wstring& strWindowCaption = kDefaultPrintDialogCaption) {
        print_.Disable(strWindowCaption);
    }
    void DisableSaveDialog(const std::wstring& strWindowCaption = kDefaultSaveDialogCaption) {
        save_.Disable(strWindowCaption);
    }
    void EnablePrintDialog() { print_.Enable(); }
    void EnableSaveDialog() { save_.Enable(); }

    const std::wstring& PrintDialogCaption() const { return print_.Caption(); }
    const std::wstring& SaveDialogCaption() const { return save_.Caption(); }
    bool PrintDialogSuppressed() const { return print_.Active(); }
    bool SaveDialogSuppressed() const { return save_.Active(); }

    void Timer1Tick(DesktopWindows& desktop) { print_.Tick(desktop); }
    void Timer2Tick(DesktopWindows& desktop) { save_.Tick(desktop); }

private:
    DialogSuppression print_;
    DialogSuppression save_;
};

} // namespace folivex
