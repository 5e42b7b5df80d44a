#include "deploy/msi_registry_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace folivex::deploy {
namespace {

struct Row {
    std::string key, name, value, component;
};

std::vector<Row> Rows(const std::string& table) {
    std::vector<Row> rows;
    std::istringstream lines(table);
    std::string line;
    for (int number = 0; std::getline(lines, line); ++number) {
        EXPECT_EQ(line.back(), '\r');
        line.pop_back();
        if (number < 3) {
            continue; // column names, column types, table name and key
        }
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) {
            fields.push_back(cell);
        }
        fields.resize(6);
        EXPECT_EQ(fields[1], "0") << "HKEY_CLASSES_ROOT";
        rows.push_back({fields[2], fields[3], fields[4], fields[5]});
    }
    return rows;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

const Row* Find(const std::vector<Row>& rows, const std::string& key, const std::string& name) {
    for (const Row& row : rows) {
        if (row.key == key && row.name == name) {
            return &row;
        }
    }
    return nullptr;
}

TEST(MsiRegistryTable, WritesEveryValueOfThePlanWithTheInstalledPaths) {
    for (Architecture arch : {Architecture::X86, Architecture::X64}) {
        const std::string table = MsiRegistryTable(arch, L"Dll", L"DIR", L"Comp");
        ASSERT_EQ(table.rfind("Registry\tRoot\tKey\tName\tValue\tComponent_\r\n"
                              "s72\ti2\tl255\tL255\tL0\ts72\r\nRegistry\tRegistry\r\n",
                              0),
                  0u);
        const std::vector<Row> rows = Rows(table);
        const RegistrationPlan plan = MakeDeployedPlan(arch, L"[#Dll]", L"[DIR]");
        for (const RegistryValue& value : plan.values) {
            const Row* row =
                Find(rows, Narrow(value.key),
                     value.name.empty() && value.data.empty() ? "+" : Narrow(value.name));
            ASSERT_TRUE(row) << Narrow(value.key) << " " << Narrow(value.name);
            EXPECT_EQ(row->value, Narrow(value.data));
            EXPECT_EQ(row->component, "Comp");
        }
        for (const std::wstring& key : plan.ownedKeys) {
            EXPECT_TRUE(Find(rows, Narrow(key), "-")) << "not removed whole: " << Narrow(key);
        }
        EXPECT_EQ(rows.size(), plan.values.size() + plan.ownedKeys.size());

        const std::string clsid = "CLSID\\{71245F77-CE10-451C-A2C9-9C069D214D9E}";
        EXPECT_EQ(Find(rows, clsid + "\\InprocServer32", "")->value, "[#Dll]");
        EXPECT_EQ(Find(rows, clsid + "\\InprocServer32", "ThreadingModel")->value, "Apartment");
        EXPECT_EQ(Find(rows, clsid + "\\ToolboxBitmap32", "")->value, "[#Dll], 1");
        EXPECT_TRUE(Find(rows, clsid + "\\Control", "+"));
        const std::string library = "TypeLib\\{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}\\1.0";
        const std::string platform = arch == Architecture::X64 ? "win64" : "win32";
        EXPECT_EQ(Find(rows, library + "\\0\\" + platform, "")->value, "[#Dll]");
        EXPECT_EQ(Find(rows, library + "\\HELPDIR", "")->value, "[DIR]");
        EXPECT_TRUE(Find(rows,
                         "Interface\\{88364098-9A1C-44B3-883A-285BF5DA3141}\\"
                         "ProxyStubClsid32",
                         ""));
    }
}

TEST(MsiRegistryTable, RowKeysAreUnique) {
    const std::vector<Row> rows = Rows(MsiRegistryTable(Architecture::X86, L"D", L"F", L"C"));
    std::istringstream lines(MsiRegistryTable(Architecture::X86, L"D", L"F", L"C"));
    std::vector<std::string> ids;
    std::string line;
    for (int number = 0; std::getline(lines, line); ++number) {
        if (number >= 3) {
            ids.push_back(line.substr(0, line.find('\t')));
        }
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
    EXPECT_EQ(ids.size(), rows.size());
}

} // namespace
} // namespace folivex::deploy
