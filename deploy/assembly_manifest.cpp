#include "deploy/assembly_manifest.h"

#include "deploy/ascii_text.h"

#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

namespace folivex::deploy {
namespace {

// The manifest has no place for a path: the DLL is found beside the manifest.
constexpr const wchar_t* kDllMark = L"\x1";

struct ComClass {
    std::wstring description;
    std::wstring progId;               // version-independent if there is one
    std::vector<std::wstring> progIds; // the others
    std::wstring threadingModel;
    std::wstring typeLibrary;
    std::map<std::wstring, std::wstring> miscStatus; // by aspect: "" (all), "1", "2", "4", "8"
};

struct TypeLibrary {
    std::wstring version;
    std::wstring flags;
};

struct Interface {
    std::wstring name;
    std::wstring proxyStub;
    std::wstring typeLibrary;
};

// Key split at backslashes.
std::vector<std::wstring> Parts(const std::wstring& key) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = key.find(L'\\', start)) != std::wstring::npos; start = at + 1) {
        parts.push_back(key.substr(start, at - start));
    }
    parts.push_back(key.substr(start));
    return parts;
}

std::wstring LibraryFlagKeywords(const std::wstring& number) {
    static const std::pair<unsigned long, const wchar_t*> kFlags[] = {
        {0x1, L"RESTRICTED"}, {0x2, L"CONTROL"}, {0x4, L"HIDDEN"}, {0x8, L"HASDISKIMAGE"}};
    unsigned long bits = std::stoul(number, nullptr, 10);
    std::wstring keywords;
    for (const auto& [bit, keyword] : kFlags) {
        if (bits & bit) {
            keywords += (keywords.empty() ? L"" : L",") + std::wstring(keyword);
            bits &= ~bit;
        }
    }
    if (bits != 0) {
        throw std::invalid_argument("type library flag without a manifest keyword");
    }
    return keywords;
}

void Attribute(std::string& out, const char* name, const std::wstring& value) {
    if (!value.empty()) {
        out += std::string(" ") + name + "=\"" + XmlText(value) + "\"";
    }
}

std::string Identity(Architecture architecture, const std::wstring& name,
                     const std::wstring& version) {
    std::string out = "<assemblyIdentity type=\"win32\"";
    Attribute(out, "name", name);
    Attribute(out, "version", FourPartVersion(version));
    Attribute(out, "processorArchitecture", ManifestArchitecture(architecture));
    return out + "/>";
}

constexpr const char* kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n";

} // namespace

std::wstring MiscStatusKeywords(const std::wstring& number) {
    static const std::pair<unsigned long, const wchar_t*> kBits[] = {
        {0x1, L"recomposeonresize"},     {0x2, L"onlyiconic"},
        {0x4, L"insertnotreplace"},      {0x8, L"static"},
        {0x10, L"cantlinkinside"},       {0x20, L"canlinkbyole1"},
        {0x40, L"islinkobject"},         {0x80, L"insideout"},
        {0x100, L"activatewhenvisible"}, {0x200, L"renderingisdeviceindependent"},
        {0x400, L"invisibleatruntime"},  {0x800, L"alwaysrun"},
        {0x1000, L"actslikebutton"},     {0x2000, L"actslikelabel"},
        {0x4000, L"nouiactivate"},       {0x8000, L"alignable"},
        {0x10000, L"simpleframe"},       {0x20000, L"setclientsitefirst"},
        {0x40000, L"imemode"},           {0x80000, L"ignoreactivatewhenvisible"},
        {0x100000, L"wantstomenumerge"}, {0x200000, L"supportsmultilevelundo"},
    };
    std::size_t used = 0;
    unsigned long bits = std::stoul(number, &used, 10);
    if (used != number.size()) {
        throw std::invalid_argument("misc status is not a decimal number");
    }
    std::wstring keywords;
    for (const auto& [bit, keyword] : kBits) {
        if (bits & bit) {
            keywords += (keywords.empty() ? L"" : L",") + std::wstring(keyword);
            bits &= ~bit;
        }
    }
    if (bits != 0) {
        throw std::invalid_argument("misc status bit without a manifest keyword");
    }
    return keywords;
}

std::string AssemblyManifest(Architecture architecture, const std::wstring& version) {
    const RegistrationPlan plan = MakeDeployedPlan(architecture, kDllMark, L"");
    std::map<std::wstring, ComClass> classes;
    std::map<std::pair<std::wstring, std::wstring>, TypeLibrary> libraries; // by id and version
    std::map<std::wstring, Interface> interfaces;
    std::map<std::wstring, std::wstring> progIdClasses; // ProgID -> CLSID

    for (const RegistryValue& value : plan.values) {
        const std::vector<std::wstring> key = Parts(value.key);
        const bool byDefault = value.name.empty();
        if (key[0] == L"CLSID" && key.size() >= 2) {
            ComClass& entry = classes[key[1]];
            if (key.size() == 2 && byDefault) {
                entry.description = value.data;
            } else if (key.size() == 3 && key[2] == L"InprocServer32" &&
                       value.name == L"ThreadingModel") {
                entry.threadingModel = value.data;
            } else if (key.size() == 3 && key[2] == L"VersionIndependentProgID") {
                if (!entry.progId.empty()) {
                    entry.progIds.push_back(entry.progId);
                }
                entry.progId = value.data;
            } else if (key.size() == 3 && key[2] == L"ProgID") {
                (entry.progId.empty() ? entry.progId : entry.progIds.emplace_back()) = value.data;
            } else if (key.size() == 3 && key[2] == L"TypeLib") {
                entry.typeLibrary = value.data;
            } else if (key.size() >= 3 && key[2] == L"MiscStatus") {
                entry.miscStatus[key.size() == 4 ? key[3] : L""] = MiscStatusKeywords(value.data);
            }
        } else if (key[0] == L"TypeLib" && key.size() >= 3) {
            TypeLibrary& entry = libraries[{key[1], key[2]}];
            entry.version = key[2];
            if (key.size() == 4 && key[3] == L"FLAGS") {
                entry.flags = LibraryFlagKeywords(value.data);
            }
        } else if (key[0] == L"Interface" && key.size() >= 2) {
            Interface& entry = interfaces[key[1]];
            if (key.size() == 2 && byDefault) {
                entry.name = value.data;
            } else if (key.size() == 3 && key[2] == L"ProxyStubClsid32") {
                entry.proxyStub = value.data;
            } else if (key.size() == 3 && key[2] == L"TypeLib" && byDefault) {
                entry.typeLibrary = value.data;
            }
        } else if (key.size() == 2 && key[1] == L"CLSID") {
            progIdClasses[key[0]] = value.data;
        }
    }
    for (const auto& [progId, clsid] : progIdClasses) {
        if (!classes.count(clsid)) {
            throw std::invalid_argument("a ProgID names a class the plan does not register");
        }
    }

    std::string out = kHeader;
    out += "  " + Identity(architecture, kAssemblyName, version) + "\r\n";
    out += "  <file name=\"" + XmlText(kDllName) + "\">\r\n";
    for (const auto& [clsid, entry] : classes) {
        out += "    <comClass";
        Attribute(out, "clsid", clsid);
        Attribute(out, "progid", entry.progId);
        Attribute(out, "threadingModel", entry.threadingModel);
        Attribute(out, "tlbid", entry.typeLibrary);
        Attribute(out, "description", entry.description);
        static const std::pair<const wchar_t*, const char*> kAspects[] = {
            {L"", "miscStatus"},
            {L"1", "miscStatusContent"},
            {L"2", "miscStatusThumbnail"},
            {L"4", "miscStatusIcon"},
            {L"8", "miscStatusDocPrint"}};
        for (const auto& [aspect, attribute] : kAspects) {
            if (auto found = entry.miscStatus.find(aspect); found != entry.miscStatus.end()) {
                Attribute(out, attribute, found->second);
            }
        }
        if (entry.progIds.empty()) {
            out += "/>\r\n";
            continue;
        }
        out += ">\r\n";
        for (const std::wstring& progId : entry.progIds) {
            out += "      <progid>" + XmlText(progId) + "</progid>\r\n";
        }
        out += "    </comClass>\r\n";
    }
    for (const auto& [id, entry] : libraries) {
        out += "    <typelib";
        Attribute(out, "tlbid", id.first);
        Attribute(out, "version", entry.version);
        // helpdir is required; empty, it is the assembly's own folder, where the DLL lies.
        out += " helpdir=\"\"";
        Attribute(out, "flags", entry.flags);
        out += "/>\r\n";
    }
    out += "  </file>\r\n";
    for (const auto& [iid, entry] : interfaces) {
        out += "  <comInterfaceExternalProxyStub";
        Attribute(out, "name", entry.name);
        Attribute(out, "iid", iid);
        Attribute(out, "proxyStubClsid32", entry.proxyStub);
        Attribute(out, "tlbid", entry.typeLibrary);
        out += "/>\r\n";
    }
    return out + "</assembly>\r\n";
}

std::string ApplicationManifest(Architecture architecture, const std::wstring& version,
                                const std::wstring& hostName) {
    std::string out = kHeader;
    out += "  " + Identity(architecture, hostName, L"1.0.0.0") + "\r\n";
    out += "  <dependency>\r\n    <dependentAssembly>\r\n      " +
           Identity(architecture, kAssemblyName, version) +
           "\r\n    </dependentAssembly>\r\n  </dependency>\r\n";
    return out + "</assembly>\r\n";
}

} // namespace folivex::deploy
