#pragma once
// What the stand-in writes to its journal (the file FOLIVEX_STANDIN_JOURNAL names), a line per
// call, key and dialog event, in the format journal_reader reads back.

#include "tests/windows/standin/journal_reader.h"

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>

namespace folivex::standin {

void AppendToJournal(const JournalEntry& entry);
// A member call with its arguments in declared order.
void JournalInvoke(DISPID member, WORD flags, const DISPPARAMS& params);
// A key the stand-in acted on, with the text it concerned, and how it came (kKeyVia...).
void JournalKey(const wchar_t* action, const std::wstring* text = nullptr,
                std::uint32_t path = kKeyViaWindow);
void JournalDialog(const std::wstring& event);
// An IOleCommandTarget command with its option and its argument, if any.
void JournalCommand(DWORD command, DWORD option, const VARIANT* in);

} // namespace folivex::standin
