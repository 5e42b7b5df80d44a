#pragma once
// The text tests OpenPDF makes on a path or address before anything is opened.

#include "common/file_system.h"

#include <string>
#include <string_view>

namespace folivex {

// The text before the first NUL character. The position is held in a 16-bit integer, so a NUL
// beyond position 32,767 (counted from 1) is not found and the text comes back unchanged.
std::wstring StripAtNull(const std::wstring& text);

// The text after the last "/", or the whole text when there is none. Nothing is decoded: a
// query or fragment stays part of the name, and backslashes are ordinary characters here.
std::wstring FileNameFromUrl(const std::wstring& address);

// An address to download: its first four characters, in any case, are "http" or "ftp:".
bool IsRemoteAddress(std::wstring_view path);

// Ends, in any case, with ".pdf", ".fdf" or ".xfdf".
bool HasKnownExtension(std::wstring_view path);

// The first line of the file begins, in any case, with "%pdf-". A file that cannot be read,
// an empty file and a shorter first line all fail.
bool HasPdfHeader(FileSystem& fs, const std::wstring& path);

// Whether a name taken from an address can be put after the download directory without
// leaving it: no "\" or "/", no drive or stream colon, not "." or "..", and no device name.
// The empty name passes; it names the directory itself, which no download can be written to.
bool IsPlainFileName(std::wstring_view name);

// Whether the file system takes the name for a device rather than a file in the directory:
// CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, CONIN$, CONOUT$ in any case, alone or followed by
// an extension, blanks before the extension ignored ("nul.pdf", "Con .txt").
bool IsDeviceName(std::wstring_view name);

// The name a fresh download of the copy now shown goes to instead, in the same directory: " (2)"
// before the file name's extension ("C:\TEMP\a.pdf" gives "C:\TEMP\a (2).pdf"). A viewer keeps
// the document it shows open, so the copy cannot be replaced while it is shown.
std::wstring BesideCopyName(const std::wstring& path);

// Whether two paths name the same file as the file system compares names: letter case is
// ignored (ASCII letters) and "/" counts as "\".
bool SameFilePath(std::wstring_view a, std::wstring_view b);

} // namespace folivex
