#include "tests/windows/standin/win32_standin_dialogs.h"

#include "tests/windows/standin/win32_standin_journal_writer.h"
#include "tests/windows/standin/win32_standin_settings.h"

#include "com/module.h"

#include <string>
#include <vector>

namespace folivex::standin {
namespace {

// On the dialog's own window.
constexpr UINT_PTR kDialogTimeoutTimerId = 1;

// A dialog template in memory: the header, then each item starting on a DWORD boundary.
class DialogTemplate {
public:
    DialogTemplate(const wchar_t* title, short width, short height, WORD items) {
        Dword(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER);
        Dword(0);
        Word(items);
        Coordinates(0, 0, width, height);
        Word(0); // no menu
        Word(0); // the dialog class
        Text(title);
    }
    void Button(WORD id, const wchar_t* text, short x, short y, bool isDefault) {
        if (words_.size() % 2 != 0) {
            Word(0);
        }
        Dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
        Dword(0);
        Coordinates(x, y, 50, 14);
        Word(id);
        Word(0xFFFF);
        Word(0x0080); // the button class's atom
        Text(text);
        Word(0); // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Word(WORD value) { words_.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Coordinates(short x, short y, short width, short height) {
        for (short value : {x, y, width, height}) {
            Word(static_cast<WORD>(value));
        }
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text) {
            Word(static_cast<WORD>(*text));
        }
        Word(0);
    }

    // Storage from the allocator, so DWORD-aligned, as the template must be.
    std::vector<WORD> words_;
};

// Closes on OK, Cancel, WM_CLOSE (what a host that suppresses the dialog posts) and, unanswered,
// when its timeout runs out. The name of its journal events is the dialog's parameter.
INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const auto* name = reinterpret_cast<const wchar_t*>(lParam);
        ::SetTimer(dialog, kDialogTimeoutTimerId, DialogTimeout(), nullptr);
        JournalDialog(std::wstring(name) + L"-open");
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == kDialogTimeoutTimerId) {
            ::KillTimer(dialog, kDialogTimeoutTimerId);
            const auto* name =
                reinterpret_cast<const wchar_t*>(::GetWindowLongPtrW(dialog, DWLP_USER));
            JournalDialog(std::wstring(name) + L"-timeout");
            ::EndDialog(dialog, IDABORT);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

bool RunModalDialog(HWND owner, const wchar_t* title, const wchar_t* name) {
    DialogTemplate dialog(title, 180, 60, 2);
    dialog.Button(IDOK, L"OK", 60, 40, true);
    dialog.Button(IDCANCEL, L"Cancel", 120, 40, false);
    return ::DialogBoxIndirectParamW(com::Module::Handle(), dialog.Get(), owner, &DialogProc,
                                     reinterpret_cast<LPARAM>(name)) != -1;
}

} // namespace folivex::standin
