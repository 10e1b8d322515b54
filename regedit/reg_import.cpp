#include "regedit/reg_import.h"

#include <algorithm>
#include <cctype>

#include "platform/codepage.h"
#include "regedit/reg_file_text.h"
#include "regedit/codec/reg_key_name.h"
#include "regedit/codec/reg_line_reader.h"
#include "regedit/codec/reg_string_data.h"
#include "platform/registry_path.h"

namespace vorn {
namespace {

constexpr size_t kMaxDwordDigits = 8;
constexpr size_t kMaxTypeDigits = 8;
// The registry's own limits on key depth and key name length.
constexpr size_t kMaxKeyDepth = 512;
constexpr size_t kMaxKeyNameLength = 255;

struct BadLine {
  RegFileFault fault;
};

[[noreturn]] void Fail(int line, std::string reason) { throw BadLine{{line, std::move(reason)}}; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

bool IsBlankText(std::string_view text) { return TrimLeft(text).empty(); }

bool ConsumePrefixIgnoringCase(std::string_view& text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  text.remove_prefix(prefix.size());
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads up to maxDigits hexadecimal digits; nullopt when there is none.
std::optional<uint32_t> ConsumeHexNumber(std::string_view& text, size_t maxDigits) {
  uint32_t number = 0;
  size_t digits = 0;
  while (digits < text.size() && HexDigit(text[digits]) >= 0) {
    if (digits == maxDigits) return std::nullopt;
    number = number << 4 | static_cast<uint32_t>(HexDigit(text[digits]));
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  text.remove_prefix(digits);
  return number;
}

class Importer {
 public:
  // With apply false the file is only read through, so that a bad line is found before
  // anything of the file is written.
  Importer(RegistryStore& store, std::string_view text, const RegImportScope* scope, bool apply)
      : store_(store), lines_(text), apply_(apply) {
    if (!scope) return;
    scoped_ = true;
    for (const auto& name : scope->allowedKeys)
      if (auto key = ParseRootedKey(name)) allowed_.push_back(*key);
  }

  RegImportResult Run() {
    try {
      ReadHeader();
      while (!lines_.AtEnd()) ReadLine(lines_.Next());
    } catch (const BadLine& bad) {
      result_.badLine = bad.fault;
    }
    return result_;
  }

 private:
  // Values below a deleted or skipped key have no key to go to; they are read and passed over.
  enum class KeyState { None, Open, Deleted, Skipped };

  struct ParsedValue {
    std::string name;
    std::optional<RegValue> value;  // nullopt: delete the value
  };

  void ReadHeader() {
    RegLine first = lines_.Next();
    auto dialect = HeaderLineDialect(first.text);
    if (!dialect) Fail(first.number, "the file does not start with a REGEDIT4 or Version 5.00 header");
    dialect_ = *dialect;
  }

  void ReadLine(const RegLine& line) {
    std::string_view body = TrimLeft(line.text);
    if (body.empty() || body.front() == ';' || body.front() == '#') return;
    if (body.front() == '[') return ReadKeyLine(line.number, body);
    if (body.front() == '"' || body.front() == '@') return ReadValueLine(line, body);
    // Files converted between the dialects carry a second header line; the last one counts.
    if (auto dialect = HeaderLineDialect(line.text)) {
      dialect_ = *dialect;
      return;
    }
    Fail(line.number, "unrecognised line");
  }

  void ReadKeyLine(int number, std::string_view body) {
    size_t close = body.rfind(']');
    if (close == std::string_view::npos) Fail(number, "key name without closing bracket");
    if (!IsBlankText(body.substr(close + 1))) Fail(number, "text after the key name");
    std::string_view name = body.substr(1, close - 1);
    bool deleting = !name.empty() && name.front() == '-';
    if (deleting) name.remove_prefix(1);
    auto key = ParseRootedKey(name);
    if (scoped_ && !(key && InScope(*key))) return Skip(name);
    if (!key) Fail(number, "key outside HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE");
    auto names = SplitKeyPath(key->path);
    if (names.size() > kMaxKeyDepth) Fail(number, "key path deeper than the registry allows");
    for (const auto& keyName : names)
      if (Utf8ToUtf16(keyName).size() > kMaxKeyNameLength) Fail(number, "key name longer than 255 characters");
    key_ = *key;
    keyName_ = std::string(name);
    if (deleting) {
      if (key->path.empty()) Fail(number, "a root key cannot be deleted");
      keyState_ = KeyState::Deleted;
      // A scoped import brings settings in; it never wipes what is there.
      if (scoped_) return RefuseDeletion(std::string(name));
      if (apply_ && store_.KeyExists(key->root, key->path) && !store_.DeleteKeyTree(key->root, key->path))
        Refused(number, "the registry refused to delete the key");
      return;
    }
    if (apply_ && !key->path.empty() && !store_.CreateKey(key->root, key->path))
      Refused(number, "the registry refused to create the key");
    keyState_ = KeyState::Open;
  }

  void ReadValueLine(const RegLine& line, std::string_view body) {
    if (keyState_ == KeyState::None) Fail(line.number, "value line before any key line");
    ParsedValue parsed = ParseValue(line, body);
    if (keyState_ != KeyState::Open) return;
    if (!parsed.value && scoped_) return RefuseDeletion(keyName_ + "\\" + (parsed.name.empty() ? "@" : parsed.name));
    if (!apply_) return;
    if (parsed.value) {
      if (!store_.WriteValue(key_.root, key_.path, parsed.name, *parsed.value))
        Refused(line.number, "the registry refused to write the value");
    } else if (store_.ReadValue(key_.root, key_.path, parsed.name) &&
               !store_.DeleteValue(key_.root, key_.path, parsed.name)) {
      Refused(line.number, "the registry refused to delete the value");
    }
  }

  ParsedValue ParseValue(const RegLine& line, std::string_view body) {
    ParsedValue parsed;
    RegLine current = line;
    std::string_view rest = body;
    if (rest.front() == '@') {
      rest.remove_prefix(1);
    } else {
      parsed.name = ReadQuoted(current, rest, false);
    }
    rest = TrimLeft(rest);
    if (rest.empty() || rest.front() != '=') Fail(line.number, "'=' missing after the value name");
    rest = TrimLeft(rest.substr(1));

    if (!rest.empty() && rest.front() == '-' && IsBlankText(rest.substr(1))) return parsed;
    if (!rest.empty() && rest.front() == '"') {
      std::string text = ReadQuoted(current, rest, true);
      if (!IsBlankText(rest)) Fail(current.number, "text after the closing quote");
      parsed.value = RegValue{regtype::kSz, StoredStringData(text)};
    } else if (ConsumePrefixIgnoringCase(rest, "dword:")) {
      auto number = ConsumeHexNumber(rest, kMaxDwordDigits);
      if (!number || !IsBlankText(rest)) Fail(line.number, "dword data is not 1 to 8 hexadecimal digits");
      parsed.value = RegValue{regtype::kDword, {static_cast<uint8_t>(*number), static_cast<uint8_t>(*number >> 8),
                                                static_cast<uint8_t>(*number >> 16), static_cast<uint8_t>(*number >> 24)}};
    } else if (ConsumePrefixIgnoringCase(rest, "hex")) {
      uint32_t type = ReadHexType(line.number, rest);
      auto bytes = ReadHexBytes(current, rest);
      parsed.value = RegValue{type, IsStringType(type) ? FileBytesToStored(bytes, dialect_) : std::move(bytes)};
    } else {
      Fail(line.number, "unrecognised value data");
    }
    return parsed;
  }

  // Reads a double-quoted text starting at rest's opening quote and leaves rest after the
  // closing one. A data string may run over line breaks, which belong to the text as they are.
  std::string ReadQuoted(RegLine& current, std::string_view& rest, bool spansLines) {
    int startLine = current.number;
    std::string text;
    size_t i = 1;
    for (;;) {
      if (i >= rest.size()) {
        if (!spansLines || current.lineBreak.empty() || lines_.AtEnd())
          Fail(startLine, "text without closing quote");
        text += current.lineBreak;
        current = lines_.Next();
        rest = current.text;
        i = 0;
        continue;
      }
      char c = rest[i];
      if (c == '"') {
        rest.remove_prefix(i + 1);
        return text;
      }
      if (c == '\\' && i + 1 < rest.size()) {
        char escaped = rest[i + 1];
        if (escaped == 'r') {
          text += '\r';
        } else if (escaped == 'n') {
          text += '\n';
        } else {
          if (escaped != '\\' && escaped != '"') text += '\\';
          text += escaped;
        }
        i += 2;
        continue;
      }
      text += c;
      ++i;
    }
  }

  uint32_t ReadHexType(int number, std::string_view& rest) {
    uint32_t type = regtype::kBinary;
    if (!rest.empty() && rest.front() == '(') {
      rest.remove_prefix(1);
      auto code = ConsumeHexNumber(rest, kMaxTypeDigits);
      if (!code || rest.empty() || rest.front() != ')') Fail(number, "bad type number in hex(...)");
      rest.remove_prefix(1);
      type = *code;
    }
    if (rest.empty() || rest.front() != ':') Fail(number, "':' missing after hex");
    rest.remove_prefix(1);
    return type;
  }

  // Comma-separated bytes; a backslash at the end of a line continues the list on the next.
  std::vector<uint8_t> ReadHexBytes(RegLine& current, std::string_view rest) {
    std::vector<uint8_t> bytes;
    for (;;) {
      rest = TrimLeft(rest);
      if (rest.empty()) return bytes;
      if (rest.front() == '\\') {
        if (!IsBlankText(rest.substr(1))) Fail(current.number, "text after the continuation backslash");
        if (lines_.AtEnd()) Fail(current.number, "the file ends inside a continued value");
        current = lines_.Next();
        if (IsBlankText(current.text)) Fail(current.number, "empty line inside a continued value");
        rest = current.text;
        continue;
      }
      auto byte = ConsumeHexNumber(rest, 2);
      if (!byte) Fail(current.number, "bad byte in hex data");
      bytes.push_back(static_cast<uint8_t>(*byte));
      rest = TrimLeft(rest);
      if (!rest.empty() && rest.front() == ',') rest.remove_prefix(1);
      else if (!rest.empty() && rest.front() != '\\') Fail(current.number, "bad byte in hex data");
    }
  }

  bool InScope(const RootedKey& key) const {
    return std::any_of(allowed_.begin(), allowed_.end(), [&](const RootedKey& allowed) {
      return allowed.root == key.root && KeyPathIsWithin(key.path, allowed.path);
    });
  }

  void Skip(std::string_view name) {
    keyState_ = KeyState::Skipped;
    std::string shown(name);
    auto& skipped = result_.skippedKeys;
    if (std::find(skipped.begin(), skipped.end(), shown) == skipped.end()) skipped.push_back(std::move(shown));
  }

  void RefuseDeletion(std::string what) {
    result_.refusedDeletions.push_back(std::move(what));
  }

  void Refused(int number, std::string reason) {
    if (!result_.refusedChange) result_.refusedChange = RegFileFault{number, std::move(reason)};
  }

  RegistryStore& store_;
  RegLineReader lines_;
  RegDialect dialect_ = RegDialect::Version5;
  KeyState keyState_ = KeyState::None;
  RootedKey key_{RegRoot::CurrentUser, {}};
  std::string keyName_;  // as the file names it
  bool apply_;
  bool scoped_ = false;
  std::vector<RootedKey> allowed_;
  RegImportResult result_;
};

}  // namespace

RegImportResult ImportRegFile(RegistryStore& store, std::string_view fileBytes, const RegImportScope* scope) {
  std::string text = DecodeRegFileText(fileBytes);
  RegImportResult read = Importer(store, text, scope, false).Run();
  if (read.badLine) return read;
  return Importer(store, text, scope, true).Run();
}

}  // namespace vorn
