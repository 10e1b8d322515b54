#pragma once
// Reading .reg file bytes as text, whatever wrote them: the Unicode editor (UTF-16LE with
// byte-order mark), the ANSI editor (code page 932), or a program that converted one into
// the other and kept what became of the byte-order mark.
#include <optional>
#include <string>
#include <string_view>

#include "regedit/reg_dialect.h"

namespace vorn {

// The file as UTF-8 text.
std::string DecodeRegFileText(std::string_view fileBytes);

// The dialect a header line names, or nullopt when the line is no header. A few leading
// bytes without letters or digits are allowed before the header word: a byte-order mark or
// whatever a code page conversion made of one ("?", "・", a blank).
std::optional<RegDialect> HeaderLineDialect(std::string_view line);

}  // namespace vorn
