#include "regedit/reg_editor_command.h"

#include "platform/text.h"

namespace vorn {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A text in double quotes loses them; nullopt when it opens a quote that does not close at its end.
std::optional<std::string> Unquote(std::string_view text) {
  if (text.empty() || text.front() != '"') return std::string(text);
  if (text.size() < 2 || text.back() != '"') return std::nullopt;
  return std::string(text.substr(1, text.size() - 2));
}

// Takes the first word (or double-quoted text) off the front of text.
std::string_view TakeWord(std::string_view& text) {
  text = Trim(text);
  size_t end = text.front() == '"' ? text.find('"', 1) : text.find_first_of(" \t");
  if (end != std::string_view::npos && text.front() == '"') ++end;
  std::string_view word = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end);
  return word;
}

bool IsRegistryEditor(std::string_view program) {
  auto unquoted = Unquote(program);
  if (!unquoted) return false;
  std::string name = AsciiLower(*unquoted);
  size_t folder = name.find_last_of("\\/");
  if (folder != std::string::npos) name.erase(0, folder + 1);
  return name == "regedit.exe" || name == "regedit";
}

// Splits "FILE KEY". The key is a final double-quoted text when there is one; otherwise it
// starts at the first blank followed by a root name, so a file path with blanks still works.
std::optional<RegEditorCommand> ParseExport(std::string_view rest) {
  rest = Trim(rest);
  std::string_view file, key;
  if (!rest.empty() && rest.front() == '"') {
    file = TakeWord(rest);
    key = Trim(rest);
  } else if (rest.size() >= 2 && rest.back() == '"') {
    size_t open = rest.rfind('"', rest.size() - 2);
    if (open == std::string_view::npos) return std::nullopt;
    file = Trim(rest.substr(0, open));
    key = rest.substr(open);
  } else {
    std::string lower = AsciiLower(rest);
    size_t blank = lower.find(" hkey_");
    if (blank == std::string::npos) blank = rest.find_last_of(" \t");
    if (blank == std::string::npos) return std::nullopt;
    file = Trim(rest.substr(0, blank));
    key = Trim(rest.substr(blank + 1));
  }
  auto unquotedFile = Unquote(file);
  auto unquotedKey = Unquote(key);
  if (!unquotedFile || !unquotedKey || unquotedFile->empty() || unquotedKey->empty()) return std::nullopt;
  return RegEditorCommand{RegEditorCommand::Action::Export, *unquotedFile, *unquotedKey};
}

}  // namespace

std::optional<RegEditorCommand> ParseRegEditorCommand(std::string_view commandLine) {
  std::string_view rest = Trim(commandLine);
  if (rest.empty() || !IsRegistryEditor(TakeWord(rest))) return std::nullopt;
  if (Trim(rest).empty()) return std::nullopt;
  std::string action = AsciiLower(TakeWord(rest));
  if (action == "/e") return ParseExport(rest);
  if (action != "/s") return std::nullopt;
  auto file = Unquote(Trim(rest));
  if (!file || file->empty()) return std::nullopt;
  return RegEditorCommand{RegEditorCommand::Action::Import, *file, {}};
}

}  // namespace vorn
