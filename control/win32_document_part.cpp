#include "control/win32_document_part.h"

#include "control/viewer_lifecycle.h"
#include "download/save_copy.h"

#include <cstdlib>

namespace folivex {
namespace {

// Bounds of the waits that tests shorten; not part of the control's public surface.
constexpr const char* kDocumentViewTimeoutVariable = "FOLIVEX_DOCUMENT_VIEW_TIMEOUT_MS";
constexpr const char* kDownloadStallVariable = "FOLIVEX_DOWNLOAD_STALL_MS";
constexpr const char* kWaitFallbackVariable = "FOLIVEX_OPEN_WAIT_FALLBACK_MS";

long long MillisecondsFromEnvironment(const char* name, long long fallback) {
    char value[32] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value) {
        return fallback;
    }
    char* end = nullptr;
    const long long parsed = std::strtoll(value, &end, 10);
    return (end && *end == '\0' && parsed > 0) ? parsed : fallback;
}

OpenWaitSettings WaitSettings() {
    OpenWaitSettings settings;
    settings.documentViewTimeout = std::chrono::milliseconds(MillisecondsFromEnvironment(
        kDocumentViewTimeoutVariable, settings.documentViewTimeout.count()));
    settings.pollInterval = std::chrono::milliseconds(
        MillisecondsFromEnvironment(kWaitFallbackVariable, settings.pollInterval.count()));
    return settings;
}

} // namespace

DocumentPart::DocumentPart(ViewerState& state, DownloadEvents& events)
    : state_(state), downloader_(downloadService_, files_, downloadService_, events),
      opener_(WaitSettings()) {
    downloader_.SetStallMilliseconds(
        MillisecondsFromEnvironment(kDownloadStallVariable, Downloader::kDefaultStallMilliseconds));
}

void DocumentPart::Initialize(ComponentSite& component, RegistryAccess& registry) {
    InitializeViewer(state_, component, files_, registry);
}

void DocumentPart::Terminate(const std::function<void()>& closeComponent,
                             const std::function<void()>& removeSaveKeyHook) {
    TerminateViewer(state_, files_, closeComponent, removeSaveKeyHook);
}

void DocumentPart::PutTempPath(const std::wstring& value) {
    folivex::PutTempPath(state_, files_, value);
}

AutoBool DocumentPart::OpenPDF(OpenEnvironment& env, const std::wstring& strPath) {
    return opener_.OpenPDF(state_, env, files_, strPath);
}

bool DocumentPart::SaveCopy(const std::wstring& strFile, const std::wstring& strSourcePDF) {
    return folivex::SaveCopy(files_, strFile, strSourcePDF, state_.CurrentTempFile, state_.Path);
}

} // namespace folivex
