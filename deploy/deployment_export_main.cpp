// Writes one deployment file made from the control's registration plan:
//   folivex_deploy_export registry-table <x86|x64> <output.idt>
//   folivex_deploy_export assembly-manifest <x86|x64> <version> <output>
//   folivex_deploy_export application-manifest <x86|x64> <version> <host name> <output>
// Run by the build; the installers and the side-by-side manifests never restate the plan.

#include "deploy/assembly_manifest.h"
#include "deploy/msi_registry_table.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

namespace {

std::wstring Wide(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

int Usage() {
    std::fputs("usage: folivex_deploy_export registry-table <x86|x64> <output>\n"
               "       folivex_deploy_export assembly-manifest <x86|x64> <version> <output>\n"
               "       folivex_deploy_export application-manifest <x86|x64> <version> <host> "
               "<output>\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    using namespace folivex::deploy;
    if (argc < 4) {
        return Usage();
    }
    const std::string kind = argv[1];
    const std::string arch = argv[2];
    if (arch != "x86" && arch != "x64") {
        return Usage();
    }
    const Architecture architecture = arch == "x64" ? Architecture::X64 : Architecture::X86;
    std::string text;
    const char* output = nullptr;
    try {
        if (kind == "registry-table" && argc == 4) {
            // The names the installer source gives the DLL's file, folder and component.
            text = MsiRegistryTable(architecture, L"FolivexDll", L"INSTALLDIR", L"FolivexDll");
            output = argv[3];
        } else if (kind == "assembly-manifest" && argc == 5) {
            text = AssemblyManifest(architecture, Wide(argv[3]));
            output = argv[4];
        } else if (kind == "application-manifest" && argc == 6) {
            text = ApplicationManifest(architecture, Wide(argv[3]), Wide(argv[4]));
            output = argv[5];
        } else {
            return Usage();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "folivex_deploy_export: %s\n", error.what());
        return 1;
    }
    std::ofstream file(output, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        std::fprintf(stderr, "folivex_deploy_export: cannot write %s\n", output);
        return 1;
    }
    return 0;
}
