#include "deploy/assembly_manifest.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace folivex::deploy {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(AssemblyManifest, ListsTheClassTypeLibraryAndMarshaledInterfaces) {
    const std::string manifest = AssemblyManifest(Architecture::X86, L"1.0.1");
    EXPECT_TRUE(Contains(manifest, "<assemblyIdentity type=\"win32\" name=\"Folivex\" "
                                   "version=\"1.0.1.0\" processorArchitecture=\"x86\"/>"));
    EXPECT_TRUE(Contains(manifest, "<file name=\"Folivex.dll\">"));
    EXPECT_TRUE(Contains(manifest, "<comClass clsid=\"{71245F77-CE10-451C-A2C9-9C069D214D9E}\" "
                                   "progid=\"Folivex.Viewer\" threadingModel=\"Apartment\" "
                                   "tlbid=\"{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}\""));
    EXPECT_TRUE(Contains(manifest, "miscStatusContent=\"recomposeonresize,cantlinkinside,"
                                   "insideout,activatewhenvisible,setclientsitefirst\""));
    // MiscStatus itself is 0: no keywords, no attribute.
    EXPECT_FALSE(Contains(manifest, "miscStatus=\""));
    EXPECT_TRUE(Contains(manifest, "<progid>Folivex.Viewer.1</progid>"));
    EXPECT_TRUE(Contains(manifest, "<typelib tlbid=\"{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}\" "
                                   "version=\"1.0\" helpdir=\"\"/>"));
    for (const char* proxy : {"name=\"_Viewer\" iid=\"{98181F0D-268F-44CF-86EA-33DA434E502E}\"",
                              "name=\"__Viewer\" iid=\"{88364098-9A1C-44B3-883A-285BF5DA3141}\""}) {
        EXPECT_TRUE(Contains(manifest, std::string("<comInterfaceExternalProxyStub ") + proxy +
                                           " proxyStubClsid32=\"{00020424-0000-0000-C000-"
                                           "000000000046}\" tlbid=\"{879F905D-66EC-4BC0-A8DB-"
                                           "DA2E919B3F75}\"/>"))
            << proxy;
    }
    // The DLL is found beside the manifest: no path of the plan leaks into it.
    EXPECT_FALSE(Contains(manifest, "\\"));
    EXPECT_FALSE(Contains(manifest, "\x1"));
    EXPECT_TRUE(Contains(manifest, "</assembly>"));
}

TEST(AssemblyManifest, ArchitectureAndVersionReachTheIdentities) {
    const std::string manifest = AssemblyManifest(Architecture::X64, L"2.3.4.5");
    EXPECT_TRUE(Contains(manifest, "version=\"2.3.4.5\" processorArchitecture=\"amd64\""));

    const std::string host = ApplicationManifest(Architecture::X64, L"2.3.4", L"Host & Co");
    EXPECT_TRUE(Contains(host, "name=\"Host &amp; Co\""));
    EXPECT_TRUE(Contains(host, "<dependentAssembly>\r\n      <assemblyIdentity type=\"win32\" "
                               "name=\"Folivex\" version=\"2.3.4.0\" "
                               "processorArchitecture=\"amd64\"/>"));
}

TEST(AssemblyManifest, MiscStatusBitsBecomeKeywordsOrAreRefused) {
    EXPECT_EQ(MiscStatusKeywords(L"0"), L"");
    EXPECT_EQ(MiscStatusKeywords(L"131473"),
              L"recomposeonresize,cantlinkinside,insideout,activatewhenvisible,"
              L"setclientsitefirst");
    EXPECT_EQ(MiscStatusKeywords(L"524288"), L"ignoreactivatewhenvisible");
    EXPECT_THROW(MiscStatusKeywords(L"4194304"), std::invalid_argument); // no keyword
    EXPECT_THROW(MiscStatusKeywords(L"12x"), std::invalid_argument);
    EXPECT_THROW(MiscStatusKeywords(L""), std::invalid_argument);
}

} // namespace
} // namespace folivex::deploy
