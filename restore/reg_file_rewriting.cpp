#include "restore/reg_file_rewriting.h"

#include <algorithm>

#include "core/environment_discovery.h"
#include "platform/codepage.h"
#include "platform/text.h"
#include "platform/whole_file.h"
#include "restore/file_content.h"

namespace vorn {
namespace {

constexpr size_t kUnicodeHeaderLength = 38;
constexpr size_t kConvertedHeaderLength = 9;
constexpr size_t kAnsiHeaderLength = 8;
constexpr size_t kAssociatedIdCommas = 15;
constexpr const char* kAssociatedIdPrefix = "\"AssociatedID\"=hex:";

size_t CharacterCount(const std::string& utf8) {
  return static_cast<size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Text mode over bytes: zero bytes skipped, lines of code page 932.
std::vector<std::string> SplitRegLines(std::string bytes) {
  std::vector<std::string> lines;
  bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", at);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(Cp932ToUtf8(bytes.substr(at, end - at)));
    at = end + 1;
    if (bytes[end] == '\r' && at < bytes.size() && bytes[at] == '\n') ++at;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text.append(line).append("\r\n");
  return text;
}

}  // namespace

std::vector<std::string> ReadRegFileLines(const FileSystem& files, const std::string& path) {
  auto bytes = ReadWholeFile(files, path);
  return bytes ? SplitRegLines(std::move(*bytes)) : std::vector<std::string>();
}

std::string ReadRegFileText(const FileSystem& files, const std::string& path) {
  return JoinLines(ReadRegFileLines(files, path));
}

std::string AsWrittenAndReadBack(const std::string& text) { return JoinLines(SplitRegLines(Utf8ToCp932(text + "\r\n"))); }

std::optional<std::string> ReadRegFileUnicode(const FileSystem& files, const std::string& path) {
  auto bytes = ReadWholeFile(files, path);
  if (!bytes) return std::nullopt;
  std::u16string units(bytes->size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>((*bytes)[2 * i]) |
                                     static_cast<unsigned char>((*bytes)[2 * i + 1]) << 8);
  return Utf16ToUtf8(units);
}

bool WriteRegFileAnsi(FileSystem& files, const std::string& path, const std::string& text) {
  return ReplaceFileContent(files, path, Utf8ToCp932(text + "\r\n"));
}

int RegFileKind(const FileSystem& files, const std::string& path) {
  const auto lines = ReadRegFileLines(files, path);
  const size_t length = lines.empty() ? 0 : CharacterCount(lines.front());
  if (length == kUnicodeHeaderLength) return kRegUnicodeExport;
  if (length == kConvertedHeaderLength) return kRegConverted;
  if (length == kAnsiHeaderLength) return kRegAnsiExport;
  return kRegUnknown;
}

std::optional<std::string> ConvertToRegedit4(const FileSystem& files, const std::string& path) {
  auto text = ReadRegFileUnicode(files, path);
  if (!text) return std::nullopt;
  return AsWrittenAndReadBack(" REGEDIT4\r\n" + *text);
}

std::string FindAssociatedID(const FileSystem& files, const std::string& path) {
  const std::string prefix = kAssociatedIdPrefix;
  for (const auto& line : ReadRegFileLines(files, path)) {
    if (line.compare(0, prefix.size(), prefix) != 0) continue;
    if (static_cast<size_t>(std::count(line.begin() + static_cast<std::ptrdiff_t>(prefix.size()), line.end(), ',')) <
        kAssociatedIdCommas)
      continue;
    // The bytes as hex-byte text ("0A 1B ..."), each of one or two digits in the file.
    std::string bytes;
    size_t at = prefix.size();
    for (size_t n = 0; n < 16; ++n) {
      const size_t end = std::min(line.find(',', at), line.size());
      const std::string digits = line.substr(at, end - at);
      bytes += std::string(digits.size() < 2 ? 2 - digits.size() : 0, '0') + digits + " ";
      at = end + 1;
    }
    return GuidTextFromBytes(bytes);
  }
  return {};
}

std::string FindOldGuid(const std::string& text) {
  const size_t open = text.find('{');
  if (open == std::string::npos) return {};
  const size_t close = text.find('}', open);
  if (close == std::string::npos) return {};
  return text.substr(open, close - open + 1);
}

std::string ReplaceIgnoringCase(const std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  const std::string lowerText = AsciiLower(text), lowerFrom = AsciiLower(from);
  std::string out;
  size_t at = 0;
  for (size_t found = lowerText.find(lowerFrom); found != std::string::npos;
       found = lowerText.find(lowerFrom, at)) {
    out.append(text, at, found - at).append(to);
    at = found + from.size();
  }
  return out.append(text, at, std::string::npos);
}

}  // namespace vorn
