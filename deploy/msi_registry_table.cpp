#include "deploy/msi_registry_table.h"

#include "deploy/ascii_text.h"

#include <stdexcept>

namespace folivex::deploy {
namespace {

// Stand-ins for the DLL and its folder while the plan's own text is escaped.
constexpr wchar_t kDllMark = L'\x1';
constexpr wchar_t kFolderMark = L'\x2';

// A Registry table value is a formatted string: brackets would name properties, and a leading
// '#' would make a number of it.
std::wstring Formatted(const std::wstring& data, const std::wstring& dll,
                       const std::wstring& folder) {
    std::wstring out;
    if (!data.empty() && data.front() == L'#') {
        out = L"#";
    }
    for (wchar_t c : data) {
        switch (c) {
        case L'[':
            out += L"[\\[]";
            break;
        case L']':
            out += L"[\\]]";
            break;
        case kDllMark:
            out += dll;
            break;
        case kFolderMark:
            out += folder;
            break;
        default:
            out += c;
        }
    }
    return out;
}

struct Row {
    std::wstring key;
    std::wstring name;
    std::wstring value;
};

} // namespace

std::string MsiRegistryTable(Architecture architecture, const std::wstring& fileId,
                             const std::wstring& folderProperty, const std::wstring& component) {
    const RegistrationPlan plan =
        MakeDeployedPlan(architecture, std::wstring(1, kDllMark), std::wstring(1, kFolderMark));
    std::vector<Row> rows;
    for (const RegistryValue& value : plan.values) {
        // An empty value is an absent one in the table: "+" creates the key, which is what a
        // container looks for below Control and Implemented Categories.
        if (value.data.empty() && value.name.empty()) {
            rows.push_back({value.key, L"+", L""});
        } else {
            rows.push_back(
                {value.key, value.name,
                 Formatted(value.data, L"[#" + fileId + L"]", L"[" + folderProperty + L"]")});
        }
    }
    // "-": the whole key goes with the component, as unregistering removes it.
    for (const std::wstring& key : plan.ownedKeys) {
        rows.push_back({key, L"-", L""});
    }

    std::string table = "Registry\tRoot\tKey\tName\tValue\tComponent_\r\n"
                        "s72\ti2\tl255\tL255\tL0\ts72\r\n"
                        "Registry\tRegistry\r\n";
    int number = 0;
    for (const Row& row : rows) {
        // Root 0: HKEY_CLASSES_ROOT, which a per-machine install writes below HKLM.
        table += "reg" + std::to_string(++number) + "\t0\t" + TableField(row.key) + "\t" +
                 TableField(row.name) + "\t" + TableField(row.value) + "\t" +
                 TableField(component) + "\r\n";
    }
    return table;
}

} // namespace folivex::deploy
