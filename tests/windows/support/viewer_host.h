#pragma once
// Folivex.Viewer hosted in place in a visible window of the test, the way a form hosts it, with
// an event sink on its __Viewer connection point that records every event.

#include "tests/windows/support/test_window.h"

#include "interface/folivex_interface.h"

#include "com/com_ptr.h"
#include "com/hosted_control.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace folivex::testing {

// One event as the sink received it: its number and its parameters in declared order.
struct RecordedEvent {
    DISPID id = 0;
    std::vector<LONG> numbers;  // CurBytes, MaxBytes
    std::wstring saveFile;      // SaveFile
    std::vector<VARTYPE> types; // each parameter's VARTYPE as it arrived
};

enum ViewerEvent : DISPID {
    kDownloadStarted = 1,
    kDownloadProgress = 2,
    kDownloadError = 3,
    kDownloadComplete = 4,
};

class ViewerEvents;

class ViewerHost {
public:
    // Called inside each event before it returns; may change the by-reference SaveFile of
    // DownloadStarted (the only parameter whose change the control keeps).
    using Handler = std::function<void(const RecordedEvent& event, BSTR* saveFile)>;

    ViewerHost(int width = 400, int height = 300);
    ~ViewerHost();
    ViewerHost(const ViewerHost&) = delete;
    ViewerHost& operator=(const ViewerHost&) = delete;

    HRESULT CreationResult() const { return control_->CreationResult(); }
    _Viewer* Viewer() const { return viewer_.Get(); }
    IDispatch* Dispatch() const { return control_->Dispatch(); }
    com::HostedControl& Control() { return *control_; }
    HWND HostWindow() const { return host_.Get(); }
    // The control's own window (its hwnd property).
    HWND ControlWindow() const;

    const std::vector<RecordedEvent>& Events() const;
    void ClearEvents();
    void OnEvent(Handler handler);

    // Late-bound call by name through the control's IDispatch; arguments in declared order.
    HRESULT Call(const wchar_t* name, std::vector<VARIANT> args, VARIANT* result = nullptr,
                 EXCEPINFO* error = nullptr, WORD flags = DISPATCH_METHOD);

    // Releases the control now (the container goes away with the test).
    void Release();

private:
    com::UniqueWindow host_;
    std::unique_ptr<com::HostedControl> control_;
    com::ComPtr<_Viewer> viewer_;
    com::ComPtr<ViewerEvents> events_;
    DWORD cookie_ = 0;
};

// A by-value BSTR VARIANT for Call(); the VARIANT owns its string.
VARIANT StringArg(const std::wstring& text);
VARIANT LongArg(LONG value);
VARIANT BoolArg(bool value);

} // namespace folivex::testing
