#include "regedit/reg_export.h"

#include <cstdio>

#include "platform/codepage.h"
#include "platform/text.h"
#include "regedit/codec/reg_string_data.h"

namespace vorn {
namespace {

// The editor breaks hex data once a line reaches this many columns, leaving room for the
// trailing backslash within 80.
constexpr size_t kHexLineLimit = 77;
constexpr size_t kContinuationIndent = 2;

// Backslash and double quote are escaped. A string's line breaks go into the file as they
// are, as the platform's editor writes them; in value names they are escaped so that a name
// always stays on its line.
std::string Escape(const std::string& text, bool escapeLineBreaks) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\\' || c == '"') {
      out += '\\';
      out += c;
    } else if (escapeLineBreaks && c == '\r') {
      out += "\\r";
    } else if (escapeLineBreaks && c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

// Columns as the editor counts them: UTF-16 units in the Unicode file, bytes in the ANSI one.
size_t Columns(const std::string& utf8, RegDialect dialect) {
  return dialect == RegDialect::Version5 ? Utf8ToUtf16(utf8).size() : Utf8ToCp932(utf8).size();
}

std::string HexData(const std::string& typeTag, const std::vector<uint8_t>& bytes, size_t column) {
  std::string out = typeTag;
  column += typeTag.size();
  for (size_t i = 0; i < bytes.size(); ++i) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
    out += digits;
    if (i + 1 == bytes.size()) break;
    out += ',';
    column += 3;
    if (column >= kHexLineLimit) {
      out += "\\\r\n";
      out.append(kContinuationIndent, ' ');
      column = kContinuationIndent;
    }
  }
  return out;
}

std::string HexTypeTag(uint32_t type) {
  if (type == regtype::kBinary) return "hex:";
  char tag[16];
  std::snprintf(tag, sizeof tag, "hex(%x):", static_cast<unsigned>(type));
  return tag;
}

std::string ValueLine(const RegNamedValue& named, RegDialect dialect) {
  std::string line = named.name.empty() ? "@=" : Quoted(Escape(named.name, true)) + '=';
  const RegValue& value = named.value;
  if (value.type == regtype::kSz && IsSingleString(value.data)) {
    line += Quoted(Escape(StoredStringText(value.data), false));
  } else if (value.type == regtype::kDword && value.data.size() == 4) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x",
                  static_cast<unsigned>(value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                                        static_cast<uint32_t>(value.data[3]) << 24));
    line += digits;
  } else {
    // A string with NULs inside keeps all its data as hex(1); every other type is hex.
    auto bytes = IsStringType(value.type) ? StoredToFileBytes(value.data, dialect) : value.data;
    line += HexData(HexTypeTag(value.type), bytes, Columns(line, dialect));
  }
  return line + "\r\n";
}

void ExportKey(const RegistryStore& store, RegRoot root, const std::string& keyPath, const std::string& keyName,
               RegDialect dialect, std::string& out) {
  out += "\r\n[" + keyName + "]\r\n";
  if (auto values = store.EnumValues(root, keyPath))
    for (const auto& value : *values) out += ValueLine(value, dialect);
  if (auto subkeys = store.EnumSubkeys(root, keyPath))
    for (const auto& name : *subkeys)
      ExportKey(store, root, keyPath.empty() ? name : keyPath + "\\" + name, keyName + "\\" + name, dialect, out);
}

std::string Encode(const std::string& utf8, RegDialect dialect) {
  if (dialect == RegDialect::Regedit4) return Utf8ToCp932(utf8);
  std::u16string text = Utf8ToUtf16(utf8);
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + text.size() * 2);
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace

std::optional<std::string> ExportRegFile(const RegistryStore& store, RegRoot root, const std::string& keyPath,
                                         const std::string& keyName, RegDialect dialect) {
  if (!store.KeyExists(root, keyPath)) return std::nullopt;
  std::string text(dialect == RegDialect::Version5 ? kVersion5Header : kRegedit4Header);
  text += "\r\n";
  ExportKey(store, root, keyPath, keyName, dialect, text);
  text += "\r\n";
  return Encode(text, dialect);
}

}  // namespace vorn
