#include "restore/signature_lines.h"

#include "platform/text.h"

namespace vorn {
namespace {

constexpr const char* kLineBreakMarker = "\\r\\n";
constexpr const char* kSignaturesKey = "\\signatures\\";

// Where the string data of a "text" value begins on its line: after `"text"=` and the opening
// quote (blanks allowed around the equals sign); npos for any other line.
size_t TextDataStart(const std::string& line) {
  const size_t name = line.find_first_not_of(" \t");
  if (name == std::string::npos || AsciiLower(line.substr(name, 6)) != "\"text\"") return std::string::npos;
  size_t at = line.find_first_not_of(" \t", name + 6);
  if (at == std::string::npos || line[at] != '=') return std::string::npos;
  at = line.find_first_not_of(" \t", at + 1);
  return at != std::string::npos && line[at] == '"' ? at + 1 : std::string::npos;
}

// Whether a quoted stretch is still open at the end of the line, reading it from the state
// `open` with the .reg escapes (a backslash takes the next character with it).
bool EndsInsideQuotes(const std::string& line, bool open) {
  for (size_t i = 0; i < line.size(); ++i) {
    if (open && line[i] == '\\') {
      ++i;
    } else if (line[i] == '"') {
      open = !open;
    }
  }
  return open;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", at)) {
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  lines.push_back(text.substr(at));
  return lines;
}

// The key a key line names, or empty for any other line.
std::string KeyOfLine(const std::string& line) {
  const size_t open = line.find_first_not_of(" \t");
  const size_t close = line.rfind(']');
  if (open == std::string::npos || line[open] != '[' || close == std::string::npos || close < open) return {};
  return line.substr(open + 1, close - open - 1);
}

std::string SignatureOfKey(const std::string& key) {
  const size_t at = AsciiLower(key).rfind(kSignaturesKey);
  if (at == std::string::npos) return {};
  std::string subkey = key.substr(at + std::string(kSignaturesKey).size());
  return subkey.find('\\') == std::string::npos ? subkey : std::string();
}

// The string data from `at` on (just after its opening quote), over as many lines as it runs;
// false when it never closes.
bool ReadQuotedText(const std::vector<std::string>& lines, size_t& index, size_t at, std::string& text) {
  const std::string* line = &lines[index];
  for (size_t i = at;; ++i) {
    if (i >= line->size()) {
      if (++index >= lines.size()) return false;
      line = &lines[index];
      text += "\r\n";
      i = static_cast<size_t>(-1);
      continue;
    }
    const char c = (*line)[i];
    if (c == '"') return true;
    if (c == '\\' && i + 1 < line->size()) {
      const char escaped = (*line)[++i];
      if (escaped == 'r' || escaped == 'R') text += '\r';
      else if (escaped == 'n' || escaped == 'N') text += '\n';
      else if (escaped == '\\' || escaped == '"') text += escaped;
      else text.append(1, '\\').append(1, escaped);
      continue;
    }
    text += c;
  }
}

}  // namespace

std::string JoinSignatureLines(const std::string& text) {
  std::string out;
  bool inside = false;
  for (const auto& line : SplitLines(text)) {
    if (inside) {
      inside = EndsInsideQuotes(line, true);
      out.append(line).append(inside ? kLineBreakMarker : "\r\n");
    } else if (line.empty()) {
      continue;
    } else if (const size_t data = TextDataStart(line);
               data != std::string::npos && EndsInsideQuotes(line.substr(data), true)) {
      inside = true;
      out.append(line).append(kLineBreakMarker);
    } else {
      out.append(line).append("\r\n");
    }
  }
  return out;
}

std::vector<SignatureText> ReadSignatureTexts(const std::vector<std::string>& lines) {
  std::vector<SignatureText> texts;
  std::string subkey;
  for (size_t index = 0; index < lines.size(); ++index) {
    const std::string& line = lines[index];
    const std::string key = KeyOfLine(line);
    if (!key.empty()) {
      subkey = SignatureOfKey(key);
      continue;
    }
    const size_t data = TextDataStart(line);
    if (subkey.empty() || data == std::string::npos) continue;
    std::string text;
    if (ReadQuotedText(lines, index, data, text)) texts.push_back({subkey, text});
  }
  return texts;
}

}  // namespace vorn
