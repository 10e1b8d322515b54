#pragma once
// How the restore reads, classifies and rewrites the .reg files of a backup set. Text mode
// reads bytes as code page 932 lines, skipping zero bytes (a UTF-16 file thus reads as its
// ASCII content); byte mode reads the file as UTF-16LE. Every write is code page 932 text
// ending in one extra CR LF.
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vorn {

// The kinds a set's .reg file can have, decided by the length of its first line in text mode.
enum RegFileKindCode : int {
  kRegUnicodeExport = 0,  // the 2000/XP editor's UTF-16 export (byte-order mark + Version 5.00 header)
  kRegConverted = 1,      // converted by ConvertToRegedit4 (as earlier restores wrote it): " REGEDIT4"
  kRegAnsiExport = 2,     // the 98/Me editor's export: "REGEDIT4"
  kRegUnknown = 3,
};

// Lines end at CR LF, a lone CR or a lone LF; a missing file has no lines.
std::vector<std::string> ReadRegFileLines(const FileSystem& files, const std::string& path);
// The text-mode lines, each followed by CR LF.
std::string ReadRegFileText(const FileSystem& files, const std::string& path);
// Byte mode: the whole file as UTF-16LE, its byte-order mark kept as U+FEFF.
std::optional<std::string> ReadRegFileUnicode(const FileSystem& files, const std::string& path);
// Replaces the file by text in code page 932 plus CR LF; the old content stays on failure.
bool WriteRegFileAnsi(FileSystem& files, const std::string& path, const std::string& text);

int RegFileKind(const FileSystem& files, const std::string& path);
// A UTF-16 export as the ANSI text headed " REGEDIT4" that the 98 family's editor imports, its
// own header line following as the second line; text-mode lines, each followed by CR LF. The
// file itself is not changed (a set may lie on a medium that cannot be written).
std::optional<std::string> ConvertToRegedit4(const FileSystem& files, const std::string& path);
// The text as a write of it (code page 932 plus CR LF) would read back in text mode.
std::string AsWrittenAndReadBack(const std::string& text);
// The identity a line "AssociatedID"=hex: with a 16-byte value on that one line names as the
// main user, as GUID text without braces; empty when the file holds no such line.
std::string FindAssociatedID(const FileSystem& files, const std::string& path);

// The first "{" of the text up to the first "}" after it, braces included; empty without one.
std::string FindOldGuid(const std::string& text);
// Every occurrence of from (compared without regard to ASCII case) replaced by to.
std::string ReplaceIgnoringCase(const std::string& text, const std::string& from, const std::string& to);

}  // namespace vorn
