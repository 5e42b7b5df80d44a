#pragma once
// The member state of one Viewer control, in declaration order, with the values a new control
// starts from. Every subsystem that keeps state for the control keeps it here; nothing of it is
// saved with the host.

#include "common/portable_types.h"
#include "reader_windows/captured_windows.h"

#include <cstdint>
#include <string>

namespace folivex {

inline constexpr wchar_t kDefaultTempPath[] = L"C:\\TEMP\\";

struct ViewerState {
    // Path or address of the document: the fallback source of OpenPDF, which also writes it.
    std::wstring Path;
    // The last values read off the component's toolbar.
    std::int32_t LastPageTotal = 0;
    std::int32_t LastPage = 0;
    std::int16_t LastZoomPct = 0;
    // Set when ShowToolbar closed the toolbar windows; cleared by every successful OpenPDF.
    AutoBool ToolbarClosed = kAutoFalse;
    // Whether this control turned the save-key hook on.
    AutoBool DisableSaveKeys = kAutoFalse;
    // Titles of the dialogs the suppression timers close.
    std::wstring PrintDialogCaption;
    std::wstring SaveDialogCaption;
    // WindowCount, WindowHandles, WindowClasses, WindowTexts: what the collecting walk met
    // during the last OpenPDF.
    CapturedWindows Captured;
    // Download directory; ends with "\" whenever it was set through the TempPath property.
    std::wstring TempPath = kDefaultTempPath;
    // The downloaded copy of the document now shown; empty for a local document.
    std::wstring CurrentTempFile;
    // Cleared when a download starts, set when it has completed or failed.
    AutoBool DownloadDone = kAutoFalse;
    // Major version of the installed Reader: 1 until the detection at creation replaces it.
    std::int16_t ReaderVersion = 1;
};

} // namespace folivex
