#include "deploy/deployment_layout.h"

#include <algorithm>

namespace folivex::deploy {
namespace {

// Stands for the installed folder while the plan is made; it cannot occur in a real path.
constexpr const wchar_t* kFolderMark = L"<folder>";

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
    for (std::size_t at = text.find(from); at != std::wstring::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

} // namespace

const wchar_t* ManifestArchitecture(Architecture architecture) {
    return architecture == Architecture::X64 ? L"amd64" : L"x86";
}

RegistrationPlan MakeDeployedPlan(Architecture architecture, const std::wstring& dllReference,
                                  const std::wstring& folderReference) {
    const std::wstring folder = kFolderMark;
    const std::wstring dll = folder + L"\\" + kDllName;
    RegistrationPlan plan =
        MakeRegistrationPlan(dll, architecture == Architecture::X64, TypeLibraryKeys::InPlan);
    for (RegistryValue& value : plan.values) {
        ReplaceAll(value.data, dll, dllReference);
        ReplaceAll(value.data, folder, folderReference);
    }
    return plan;
}

std::wstring FourPartVersion(const std::wstring& version) {
    const auto dots = std::count(version.begin(), version.end(), L'.');
    std::wstring four = version;
    for (auto i = dots; i < 3; ++i) {
        four += L".0";
    }
    return four;
}

} // namespace folivex::deploy
