#pragma once
// The stand-in viewer component's call journal: one UTF-8 line per call that reached it, in
// call order, so a test can see exactly what a caller sent.
//
//   invoke <TAB> dispid <TAB> flags <TAB> argc <TAB> named {<TAB> vartype-hex '=' value}
//   command <TAB> command-id <TAB> exec-option <TAB> 0 <TAB> 0
//   key <TAB> 0 <TAB> path <TAB> argc <TAB> 0 <TAB> 8=action [<TAB> 8=text]
//   dialog <TAB> 0 <TAB> 0 <TAB> 1 <TAB> 0 <TAB> 8=event
//
// A key line is an action the component took on a keystroke: "select", "deselect", "copy"
// (with the copied text), "search-open", "search" (with the text searched for), "navigate"
// (with the key: "left", "page-down", ...) and "char" (with the character) for keys its window
// got. Its flags say which way the key came: kKeyViaWindow or kKeyViaAccelerator. A dialog line
// is an event of one of its modal dialogs: "print-open", "print-timeout", "print-closed",
// "print-failed" and the same four with "save-".
//
// Arguments are written in declared order (the reverse of DISPPARAMS), with the VARTYPE as it
// arrived (VT_BYREF included) and the value it pointed to. Tabs, line breaks and backslashes in
// values are escaped as \t \n \r \\. Portable: no platform headers.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace folivex::standin {

inline constexpr std::uint16_t kVtByRef = 0x4000;

struct JournalArgument {
    std::uint16_t type = 0; // the VARTYPE, VT_BYREF included
    std::wstring value;     // the pointed-to value as text

    bool ByRef() const { return (type & kVtByRef) != 0; }
    std::uint16_t BaseType() const { return static_cast<std::uint16_t>(type & ~kVtByRef); }
};

enum class JournalKind { Invoke, Command, Key, Dialog };

// The flags of a key line: how the key reached the component.
inline constexpr std::uint32_t kKeyViaWindow = 0;      // a key message to its window
inline constexpr std::uint32_t kKeyViaAccelerator = 1; // its active object's TranslateAccelerator

struct JournalEntry {
    JournalKind kind = JournalKind::Invoke;
    std::int32_t member = 0; // DISPID, or the OLECMDID of a command
    std::uint32_t flags = 0; // invoke flags, or the command's execution option
    std::uint32_t argumentCount = 0;
    std::uint32_t namedCount = 0; // named arguments (1 for a property put)
    std::vector<JournalArgument> arguments;
};

// One line, without the line break.
std::string FormatJournalLine(const JournalEntry& entry);

// Parses journal text; lines that do not parse are skipped.
std::vector<JournalEntry> ParseJournal(std::string_view text);

// Reads and parses a journal file; a missing file is an empty journal.
std::vector<JournalEntry> ReadJournal(const std::wstring& path);

// UTF-8 <-> wide text, for the values.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

} // namespace folivex::standin
