#include "regedit/reg_file_text.h"

#include <cctype>

#include "platform/codepage.h"
#include "platform/text.h"

namespace vorn {
namespace {

constexpr size_t kMaxHeaderPrefix = 8;

std::string DecodeUtf16Le(std::string_view bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return Utf16ToUtf8(text);
}

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

bool IsAsciiAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80; }

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string DecodeRegFileText(std::string_view bytes) {
  if (StartsWith(bytes, "\xFF\xFE")) return DecodeUtf16Le(bytes.substr(2));
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return Utf16ToUtf8(Utf8ToUtf16(std::string(bytes.substr(3))));
  // UTF-16LE that lost its byte-order mark: an ASCII first character followed by a zero byte.
  if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0) return DecodeUtf16Le(bytes);
  return Cp932ToUtf8(std::string(bytes));
}

std::optional<RegDialect> HeaderLineDialect(std::string_view line) {
  line = TrimTrailingBlanks(line);
  size_t word = 0;
  while (word < line.size() && word < kMaxHeaderPrefix && !IsAsciiAlnum(line[word])) ++word;
  std::string_view rest = line.substr(word);
  if (EqualsIgnoringAsciiCase(rest, kRegedit4Header)) return RegDialect::Regedit4;
  if (EqualsIgnoringAsciiCase(rest, kVersion5Header)) return RegDialect::Version5;
  return std::nullopt;
}

}  // namespace vorn
