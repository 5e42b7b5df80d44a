#pragma once
// Wine's atl.dll as a host application's container: its "AtlAxWin" window class, whose windows
// create the control their title names, and the control such a window hosts. The library stays
// loaded: the class and every window of it run its code for as long as the process lives.

#include <windows.h>
#include <unknwn.h>

namespace folivex::testing {

class AtlLibrary {
public:
    AtlLibrary() : module_(::LoadLibraryW(L"atl.dll")) {
        if (module_) {
            init_ = reinterpret_cast<InitFn>(
                reinterpret_cast<void*>(::GetProcAddress(module_, "AtlAxWinInit")));
            getControl_ = reinterpret_cast<GetControlFn>(
                reinterpret_cast<void*>(::GetProcAddress(module_, "AtlAxGetControl")));
        }
    }

    // Loaded, with both entry points found.
    bool Loaded() const { return init_ && getControl_; }
    // AtlAxWinInit: registers the window class (Wine's answers FALSE once it is registered).
    BOOL Init() const { return init_(); }
    // AtlAxGetControl: the control an "AtlAxWin" window hosts.
    HRESULT GetControl(HWND axWindow, IUnknown** control) const {
        return getControl_(axWindow, control);
    }

private:
    using InitFn = BOOL(WINAPI*)();
    using GetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

    HMODULE module_;
    InitFn init_ = nullptr;
    GetControlFn getControl_ = nullptr;
};

} // namespace folivex::testing
