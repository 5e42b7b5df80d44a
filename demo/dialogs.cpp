#include "dialogs.h"

#include "resource.h"

#include <commdlg.h>

#include <vector>

namespace folivex::demo {

namespace {

struct Prompt {
    const wchar_t* title;
    const wchar_t* label;
    std::wstring text;
};

INT_PTR CALLBACK PromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* prompt = reinterpret_cast<Prompt*>(lParam);
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        ::SetWindowTextW(dialog, prompt->title);
        ::SetDlgItemTextW(dialog, IDC_PROMPT_LABEL, prompt->label);
        ::SetDlgItemTextW(dialog, IDC_PROMPT_TEXT, prompt->text.c_str());
        ::SendDlgItemMessageW(dialog, IDC_PROMPT_TEXT, EM_SETSEL, 0, -1);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* prompt = reinterpret_cast<Prompt*>(::GetWindowLongPtrW(dialog, DWLP_USER));
            const int length = ::GetWindowTextLengthW(::GetDlgItem(dialog, IDC_PROMPT_TEXT));
            std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
            ::GetDlgItemTextW(dialog, IDC_PROMPT_TEXT, buffer.data(), length + 1);
            prompt->text.assign(buffer.data());
            ::EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

// Room for a long UNC path; the dialogs truncate nothing silently below this.
constexpr DWORD kPathCapacity = 32768;

} // namespace

std::optional<std::wstring> PromptForText(HWND owner, const wchar_t* title, const wchar_t* label,
                                          const std::wstring& initial) {
    Prompt prompt{title, label, initial};
    const INT_PTR answer = ::DialogBoxParamW(
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(owner, GWLP_HINSTANCE)),
        MAKEINTRESOURCEW(IDD_PROMPT), owner, PromptProc, reinterpret_cast<LPARAM>(&prompt));
    if (answer != IDOK) {
        return std::nullopt;
    }
    return prompt.text;
}

std::optional<std::wstring> ChoosePdfToOpen(HWND owner) {
    std::vector<wchar_t> path(kPathCapacity);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"PDF documents (*.pdf)\0*.pdf\0Forms data (*.fdf;*.xfdf)\0*.fdf;*.xfdf\0"
                         L"All files (*.*)\0*.*\0";
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!::GetOpenFileNameW(&dialog)) {
        return std::nullopt;
    }
    return std::wstring(path.data());
}

std::optional<std::wstring> ChooseCopyTarget(HWND owner) {
    std::vector<wchar_t> path(kPathCapacity);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"PDF documents (*.pdf)\0*.pdf\0All files (*.*)\0*.*\0";
    dialog.lpstrDefExt = L"pdf";
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!::GetSaveFileNameW(&dialog)) {
        return std::nullopt;
    }
    return std::wstring(path.data());
}

} // namespace folivex::demo
