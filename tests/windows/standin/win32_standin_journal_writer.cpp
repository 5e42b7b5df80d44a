#include "tests/windows/standin/win32_standin_journal_writer.h"

#include "tests/windows/standin/win32_standin_settings.h"

#include "com/bstr.h"
#include "com/unique_handle.h"
#include "com/variant.h"

#include <oleauto.h>

#include <charconv>
#include <cstdio>

namespace folivex::standin {
namespace {

// The shortest text that reads back as the same number.
template <typename Number>
std::wstring NumberText(Number value) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof(buffer), value);
    if (ec != std::errc()) {
        return L"?";
    }
    return std::wstring(buffer, end);
}

std::wstring ValueText(const VARIANT& argument) {
    com::Variant value;
    if (FAILED(::VariantCopyInd(value.Get(), const_cast<VARIANT*>(&argument)))) {
        return L"?";
    }
    switch (value->vt) {
    case VT_EMPTY:
    case VT_NULL:
        return L"";
    case VT_BSTR:
        return com::Bstr::ToString(value->bstrVal);
    case VT_BOOL:
        return std::to_wstring(value->boolVal);
    case VT_R4:
        return NumberText(value->fltVal);
    case VT_R8:
        return NumberText(value->dblVal);
    case VT_ERROR: {
        wchar_t buffer[16];
        std::swprintf(buffer, 16, L"0x%08lX", static_cast<unsigned long>(value->scode));
        return buffer;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return L"<object>";
    default: {
        com::Variant text;
        if (SUCCEEDED(::VariantChangeTypeEx(text.Get(), value.Get(), MAKELCID(0x0409, SORT_DEFAULT),
                                            0, VT_BSTR))) {
            return com::Bstr::ToString(text->bstrVal);
        }
        return L"?";
    }
    }
}

} // namespace

void AppendToJournal(const JournalEntry& entry) {
    const std::wstring path = Setting(L"FOLIVEX_STANDIN_JOURNAL");
    if (path.empty()) {
        return;
    }
    com::UniqueFile file(::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    const std::string line = FormatJournalLine(entry) + "\n";
    DWORD written = 0;
    ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void JournalKey(const wchar_t* action, const std::wstring* text, std::uint32_t path) {
    JournalEntry entry;
    entry.kind = JournalKind::Key;
    entry.flags = path;
    entry.arguments.push_back({VT_BSTR, action});
    if (text) {
        entry.arguments.push_back({VT_BSTR, *text});
    }
    entry.argumentCount = static_cast<std::uint32_t>(entry.arguments.size());
    AppendToJournal(entry);
}

void JournalCommand(DWORD command, DWORD option, const VARIANT* in) {
    JournalEntry entry;
    entry.kind = JournalKind::Command;
    entry.member = static_cast<std::int32_t>(command);
    entry.flags = option;
    if (in) {
        entry.argumentCount = 1;
        entry.arguments.push_back({in->vt, ValueText(*in)});
    }
    AppendToJournal(entry);
}

void JournalDialog(const std::wstring& event) {
    JournalEntry entry;
    entry.kind = JournalKind::Dialog;
    entry.arguments.push_back({VT_BSTR, event});
    entry.argumentCount = 1;
    AppendToJournal(entry);
}

void JournalInvoke(DISPID member, WORD flags, const DISPPARAMS& params) {
    JournalEntry entry;
    entry.kind = JournalKind::Invoke;
    entry.member = member;
    entry.flags = flags;
    entry.argumentCount = params.cArgs;
    entry.namedCount = params.cNamedArgs;
    for (UINT i = 0; i < params.cArgs && params.rgvarg; ++i) {
        const VARIANT& argument = params.rgvarg[params.cArgs - 1 - i];
        entry.arguments.push_back({argument.vt, ValueText(argument)});
    }
    AppendToJournal(entry);
}

} // namespace folivex::standin
