#pragma once
// The control's documents: opening, downloading, saving copies and the TempPath rule, over the
// download transport and the file system. The member files reach the downloader and the opener
// only through this part, so that each transfer and open runs with the one file system and
// transport the control's creation and termination use too.

// First: the file system's members share names with <windows.h>'s macros, which its header
// undefines only when it comes after them.
#include <windows.h>

#include "control/open_pdf.h"
#include "control/viewer_state.h"
#include "download/downloader.h"
#include "download/win32_url_download.h"
#include "registry/registry_access.h"
#include "viewer_bridge/component_site.h"

#include "common/win32_file_system.h"

#include <functional>
#include <string>

namespace folivex {

class DocumentPart {
public:
    DocumentPart(ViewerState& state, DownloadEvents& events);
    DocumentPart(const DocumentPart&) = delete;
    DocumentPart& operator=(const DocumentPart&) = delete;

    // The control's creation and termination steps: they make TempPath's directory and delete
    // the last downloaded copy, through this part's file system.
    void Initialize(ComponentSite& component, RegistryAccess& registry);
    void Terminate(const std::function<void()>& closeComponent,
                   const std::function<void()>& removeSaveKeyHook);

    // The container's client site (or null), which downloads ask for its bind host.
    void SetSite(IUnknown* site) { downloadService_.SetSite(site); }

    void PutTempPath(const std::wstring& value);
    AutoBool OpenPDF(OpenEnvironment& env, const std::wstring& strPath);
    bool BeginDownload(const std::wstring& strURL, std::wstring& strFile,
                       DownloadId* id = nullptr) {
        return downloader_.BeginDownload(strURL, strFile, id);
    }
    DownloadOutcome Outcome(DownloadId id) const { return downloader_.Outcome(id); }
    bool SaveCopy(const std::wstring& strFile, const std::wstring& strSourcePDF);

private:
    ViewerState& state_;
    Win32FileSystem files_;
    Win32UrlDownloadService downloadService_; // outlives the downloader, which reads through it
    Downloader downloader_;
    DocumentOpener opener_;
};

} // namespace folivex
