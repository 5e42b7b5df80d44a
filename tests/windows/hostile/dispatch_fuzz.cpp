// The dispatch fuzzer: calls every member of _Viewer through IDispatch::Invoke with generated
// calls (every invoke kind; too few, too many and named arguments; every VARTYPE by value and
// by reference), then every member with a NULL [out] or [in, out] pointer through the vtable.
// Deterministic from its seed, bounded in count. It passes when nothing crashed, every failure
// came back in the proper form, the control let go of every object it was given, and once the
// control is released the library has no object left and can unload.
//
//   folivex_dispatch_fuzz.exe [--seed N] [--calls N]
//
// Prints the call rate and the results' tally; exits 0 on success.

#include "tests/windows/hostile/generated_arguments.h"
#include "tests/windows/hostile/probe_object.h"
#include "tests/windows/hostile/vtable_null_calls.h"
#include "tests/windows/support/test_settings.h"
#include "tests/windows/support/test_window.h"
#include "tests/windows/support/viewer_calls.h"
#include "tests/windows/support/viewer_host.h"

#include "com/bstr.h"
#include "com/com_ptr.h"
#include "com/excep_info.h"
#include "com/variant.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace folivex::testing {
namespace {

struct Member {
    MEMBERID id;
    INVOKEKIND kind;
    unsigned parameters; // without the [out, retval] one
    std::wstring name;
};

// The members as the type library describes them (the dual interface's own functions).
std::vector<Member> ReadMembers(ITypeInfo* info) {
    std::vector<Member> members;
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes))) {
        return members;
    }
    const WORD count = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < count; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(i, &function))) {
            continue;
        }
        unsigned parameters = 0;
        for (SHORT p = 0; p < function->cParams; ++p) {
            if (!(function->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) {
                ++parameters;
            }
        }
        BSTR name = nullptr;
        info->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
        members.push_back(
            {function->memid, function->invkind, parameters, com::Bstr::Attach(name).ToString()});
        info->ReleaseFuncDesc(function);
    }
    return members;
}

com::ComPtr<ITypeInfo> InterfaceInfo(IDispatch* dispatch) {
    com::ComPtr<ITypeInfo> info;
    if (FAILED(dispatch->GetTypeInfo(0, 0, &info)) || !info) {
        return nullptr;
    }
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    const bool dispatchOnly = attributes && attributes->typekind == TKIND_DISPATCH;
    info->ReleaseTypeAttr(attributes);
    if (dispatchOnly) {
        HREFTYPE reference = 0;
        com::ComPtr<ITypeInfo> dual;
        if (SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference)) &&
            SUCCEEDED(info->GetRefTypeInfo(reference, &dual))) {
            return dual;
        }
    }
    return info;
}

struct Tally {
    unsigned long calls = 0;
    unsigned long faults = 0;
    bool trace = false; // each call printed before it is made: for finding the call that crashes
    std::map<HRESULT, unsigned long> results;

    void Fault(const char* what, const std::wstring& member, unsigned long call) {
        ++faults;
        if (faults <= 20) {
            std::printf("FAULT at call %lu (%ls): %s\n", call, member.c_str(), what);
        }
    }
};

// One generated Invoke; checks the form of what came back.
void GeneratedCall(IDispatch* dispatch, const std::vector<Member>& members,
                   ArgumentGenerator& generator, Tally& tally) {
    const Member& target = members[generator.Below(static_cast<unsigned>(members.size()))];
    DISPID id = target.id;
    switch (generator.Below(20)) {
    case 0:
        id = static_cast<DISPID>(generator.Random()());
        break;
    case 1:
        id = DISPID_VALUE;
        break;
    case 2:
        id = DISPID_UNKNOWN;
        break;
    default:
        break;
    }
    static constexpr WORD kinds[] = {DISPATCH_METHOD,
                                     DISPATCH_PROPERTYGET,
                                     DISPATCH_PROPERTYPUT,
                                     DISPATCH_PROPERTYPUTREF,
                                     DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                     0,
                                     0xFFFF};
    WORD flags = static_cast<WORD>(target.kind == INVOKE_FUNC ? DISPATCH_METHOD : target.kind);
    if (generator.Below(3) == 0) {
        flags = kinds[generator.Below(sizeof(kinds) / sizeof(kinds[0]))];
    }
    unsigned count = target.parameters;
    switch (generator.Below(6)) {
    case 0:
        count = generator.Below(target.parameters + 1); // too few (optional ones left out)
        break;
    case 1:
        count = target.parameters + 1 + generator.Below(3); // too many
        break;
    case 2:
        count = generator.Below(9);
        break;
    default:
        break;
    }

    GeneratedArguments arguments;
    generator.Fill(arguments, count);
    std::vector<DISPID> named;
    if (count > 0 && generator.Below(5) == 0) {
        named.resize(1 + generator.Below(count));
        for (DISPID& name : named) {
            const unsigned pick = generator.Below(4);
            name = pick == 0   ? DISPID_PROPERTYPUT
                   : pick == 1 ? static_cast<DISPID>(generator.Random()())
                               : static_cast<DISPID>(generator.Below(count + 1));
        }
    } else if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && count > 0) {
        named.push_back(DISPID_PROPERTYPUT);
    }
    DISPPARAMS parameters = {arguments.values.data(), named.data(), count,
                             static_cast<UINT>(named.size())};

    com::Variant result;
    // Poisoned, so that an error position the control should set but leaves is seen.
    com::ExcepInfo exceptionInfo;
    EXCEPINFO& exception = exceptionInfo.Get();
    UINT argumentError = 0xDEAD;
    const bool wantResult = generator.Below(5) != 0;
    const bool wantException = generator.Below(5) != 0;
    const bool wantArgumentError = generator.Below(5) != 0;
    const unsigned long call = ++tally.calls;
    if (tally.trace) {
        std::printf("call %lu: %ls id 0x%08lX flags 0x%X args", call, target.name.c_str(),
                    static_cast<unsigned long>(id), flags);
        for (UINT i = count; i-- > 0;) {
            const VARIANTARG& a = arguments.values[i];
            std::printf(" %04X", a.vt);
            if (a.vt == (VT_BYREF | VT_VARIANT)) {
                std::printf("->%04X", a.pvarVal->vt);
            }
        }
        std::printf(" named");
        for (DISPID name : named) {
            std::printf(" %ld", static_cast<long>(name));
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    const HRESULT hr = dispatch->Invoke(
        id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, wantResult ? result.Get() : nullptr,
        wantException ? &exception : nullptr, wantArgumentError ? &argumentError : nullptr);
    ++tally.results[hr];
    if (tally.trace) {
        std::printf("  -> 0x%08lX\n", static_cast<unsigned long>(hr));
        std::fflush(stdout);
    }

    if (hr == DISP_E_EXCEPTION && wantException) {
        if (exception.pfnDeferredFillIn) {
            exception.pfnDeferredFillIn(&exception);
        }
        if (exception.scode == S_OK && exception.wCode == 0) {
            tally.Fault("DISP_E_EXCEPTION with an empty EXCEPINFO", target.name, call);
        }
        if (exception.scode != S_OK && SUCCEEDED(exception.scode)) {
            tally.Fault("DISP_E_EXCEPTION with a success code in EXCEPINFO", target.name, call);
        }
    }
    if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) && wantArgumentError &&
        argumentError != 0xDEAD && argumentError >= count) {
        tally.Fault("argument error position outside the arguments", target.name, call);
    }
    if (FAILED(hr) && wantResult && result.Get()->vt != VT_EMPTY) {
        tally.Fault("a failed call returned a value", target.name, call);
    }
}

// The process's working directory for a scope.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::wstring& path) {
        wchar_t previous[MAX_PATH] = {};
        if (::GetCurrentDirectoryW(MAX_PATH, previous)) {
            previous_ = previous;
        }
        ::SetCurrentDirectoryW(path.c_str());
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;
    ~WorkingDirectory() {
        if (!previous_.empty()) {
            ::SetCurrentDirectoryW(previous_.c_str());
        }
    }

private:
    std::wstring previous_;
};

int Run(std::uint32_t seed, unsigned long calls) {
    ComApartment apartment;
    // The stand-in's print dialog would wait for a click; the fuzzer only needs the call.
    ScopedSetting noPrintDialog(L"FOLIVEX_STANDIN_PRINT_DIALOG", L"none");
    ScopedSetting shortDialogs(L"FOLIVEX_STANDIN_DIALOG_TIMEOUT", L"200");
    ScratchDirectory scratch;
    WriteWholeFile(scratch.File(L"not_a_pdf.pdf"), "plain text, no PDF\r\n");
    // Generated names that are relative paths (a copy saved as "3", say) land in the scratch
    // folder, not wherever the run was started.
    WorkingDirectory inScratch(scratch.Path());

    ProbeObject probe;
    ArgumentGenerator generator(seed,
                                {TestDocument(L"three_pages.pdf"), scratch.File(L"not_a_pdf.pdf"),
                                 scratch.Path(), L"http://127.0.0.1:1/"},
                                probe);
    Tally tally;
    tally.trace = ::GetEnvironmentVariableW(L"FOLIVEX_DISPATCH_FUZZ_TRACE", nullptr, 0) > 0;
    std::vector<NullPointerCall> nullCalls;
    double seconds = 0;
    {
        ViewerHost host;
        if (host.CreationResult() != S_OK || !host.Dispatch()) {
            std::printf("the control could not be created: 0x%08lX\n",
                        static_cast<unsigned long>(host.CreationResult()));
            return 1;
        }
        com::ComPtr<ITypeInfo> info = InterfaceInfo(host.Dispatch());
        const std::vector<Member> members = info ? ReadMembers(info.Get()) : std::vector<Member>{};
        if (members.size() < 50) {
            std::printf("the type library lists %zu members of _Viewer\n", members.size());
            return 1;
        }
        // Downloads go to the scratch folder, so that none is left in the prefix's C:\TEMP.
        com::Bstr tempPath(scratch.Path());
        host.Viewer()->put_TempPath(tempPath.Get());

        LARGE_INTEGER frequency, start, end;
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&start);
        for (unsigned long i = 0; i < calls; ++i) {
            GeneratedCall(host.Dispatch(), members, generator, tally);
            if (i % 16 == 0) {
                PumpMessages(0);
            }
        }
        ::QueryPerformanceCounter(&end);
        seconds = static_cast<double>(end.QuadPart - start.QuadPart) /
                  static_cast<double>(frequency.QuadPart);

        nullCalls = CallWithNullPointers(host.Viewer(), info.Get(), generator);
        // Whatever state the calls left (hooks, timers, a download) goes with the control.
        host.Release();
    }
    // What the control posted on its way out (the probe's last references may wait on it).
    PumpPostedMessages();

    bool passed = tally.faults == 0;
    std::printf("dispatch fuzz: seed %lu, %lu calls in %.2f s, %.0f calls/s\n",
                static_cast<unsigned long>(seed), tally.calls, seconds,
                seconds > 0 ? tally.calls / seconds : 0.0);
    for (const auto& [hr, count] : tally.results) {
        std::printf("  0x%08lX  %lu\n", static_cast<unsigned long>(hr), count);
    }
    for (const NullPointerCall& call : nullCalls) {
        const bool wrong = call.retvalNull && SUCCEEDED(call.result);
        std::printf("  NULL %ls in %ls: 0x%08lX%s\n", call.nulls.c_str(), call.member.c_str(),
                    static_cast<unsigned long>(call.result), wrong ? "  FAULT" : "");
        passed = passed && !wrong;
    }
    if (probe.References() != 1) {
        std::printf("FAULT: the control kept %lu reference(s) to an object it was given\n",
                    static_cast<unsigned long>(probe.References() - 1));
        passed = false;
    }
    const HRESULT canUnload = WaitUntilLibraryCanUnload();
    if (canUnload != S_OK) {
        std::printf("FAULT: objects are left: DllCanUnloadNow answers 0x%08lX\n",
                    static_cast<unsigned long>(canUnload));
        passed = false;
    }
    ::CoFreeUnusedLibrariesEx(0, 0);
    std::printf("library %s\n", ::GetModuleHandleW(L"Folivex.dll") ? "still loaded" : "unloaded");
    std::printf("dispatch fuzz: %s\n", passed ? "passed" : "FAILED");
    return passed ? 0 : 1;
}

} // namespace
} // namespace folivex::testing

int main(int argc, char** argv) {
    std::uint32_t seed = 1;
    unsigned long calls = 2000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seed") == 0) {
            seed = static_cast<std::uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
        } else if (std::strcmp(argv[i], "--calls") == 0) {
            calls = std::strtoul(argv[i + 1], nullptr, 10);
        }
    }
    return folivex::testing::Run(seed, calls);
}
