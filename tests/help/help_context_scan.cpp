#include "tests/help/help_context_scan.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>

namespace vorn::test {
namespace {

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The code with comments and the insides of string and character literals blanked out (line
// breaks kept), so only real code is matched and offsets still give line numbers.
std::string CodeOnly(const std::string& text) {
  std::string out = text;
  auto blank = [&](size_t from, size_t to) {
    for (size_t i = from; i < to && i < out.size(); ++i)
      if (out[i] != '\n') out[i] = ' ';
  };
  for (size_t i = 0; i < text.size();) {
    if (text.compare(i, 2, "//") == 0) {
      const size_t end = text.find('\n', i);
      blank(i, end);
      i = end == std::string::npos ? text.size() : end;
    } else if (text.compare(i, 2, "/*") == 0) {
      const size_t end = std::min(text.find("*/", i + 2), text.size() - 2) + 2;
      blank(i, end);
      i = end;
    } else if (text[i] == 'R' && i + 1 < text.size() && text[i + 1] == '"' && (i == 0 || !IsWordChar(text[i - 1]))) {
      const size_t open = text.find('(', i);
      std::string close = ")";  // the raw string ends with ")", its delimiter and a quote
      close += text.substr(i + 2, open - i - 2);
      close += '"';
      const size_t end = std::min(text.find(close, open), text.size() - close.size()) + close.size();
      blank(i + 2, end - 1);
      i = end;
    } else if (text[i] == '"' || (text[i] == '\'' && (i == 0 || !std::isxdigit(static_cast<unsigned char>(text[i - 1]))))) {
      const char quote = text[i];
      size_t end = i + 1;
      while (end < text.size() && text[end] != quote && text[end] != '\n') end += text[end] == '\\' ? 2 : 1;
      blank(i + 1, end);
      i = end + 1;
    } else {
      ++i;
    }
  }
  return out;
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

int LineAt(const std::string& text, size_t offset) {
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

class Scanner {
 public:
  explicit Scanner(const std::map<std::string, std::string>& sources) {
    for (const auto& [name, text] : sources) code_[name] = CodeOnly(text);
    static const std::regex constant(
        "\\b(?:constexpr|const)\\s+(?:unsigned\\s+)?(?:int|long|short|DWORD|UINT|(?:std::)?u?int32_t)\\s+"
        "([A-Za-z_]\\w*)\\s*=\\s*(0[xX][0-9a-fA-F]+|\\d+)\\s*;");
    for (const auto& [name, text] : code_)
      for (std::sregex_iterator it(text.begin(), text.end(), constant), end; it != end; ++it)
        constants_[(*it)[1]].insert(static_cast<int>(std::stol((*it)[2], nullptr, 0)));
  }

  HelpContextScan Scan() {
    static const std::regex messageInitializer("MsgButtons::\\w+\\s*,\\s*([^,{}();]+?)\\s*\\}");
    static const std::regex assignment("\\bhelpContext\\s*=\\s*([^;,{}]+?)\\s*[;,}]");
    for (const auto& [name, text] : code_) {
      for (std::sregex_iterator it(text.begin(), text.end(), messageInitializer), end; it != end; ++it)
        Use(name, text, static_cast<size_t>(it->position(1)), (*it)[1]);
      for (std::sregex_iterator it(text.begin(), text.end(), assignment), end; it != end; ++it) {
        const std::string expression = (*it)[1];
        // A copy from another message's context passes it on; it is not a context of its own.
        if (expression.size() > 11 && expression.ends_with("helpContext")) continue;
        Use(name, text, static_cast<size_t>(it->position(1)), expression);
      }
      ScanViewerCalls(name, text);
    }
    return result_;
  }

 private:
  // obj.ShowHelp(owner, file, CONTEXT); declarations and definitions of ShowHelp are skipped.
  void ScanViewerCalls(const std::string& name, const std::string& text) {
    for (size_t at = text.find("ShowHelp"); at != std::string::npos; at = text.find("ShowHelp", at + 1)) {
      size_t before = at;
      while (before > 0 && std::isspace(static_cast<unsigned char>(text[before - 1]))) --before;
      const bool memberCall = before > 0 && (text[before - 1] == '.' || (before > 1 && text.compare(before - 2, 2, "->") == 0));
      size_t open = at + 8;
      while (open < text.size() && std::isspace(static_cast<unsigned char>(text[open]))) ++open;
      if (!memberCall || open >= text.size() || text[open] != '(' || IsWordChar(text[at + 8])) continue;
      int depth = 0;
      size_t lastComma = open, close = open;
      for (; close < text.size(); ++close) {
        if (text[close] == '(') ++depth;
        if (text[close] == ')' && --depth == 0) break;
        if (text[close] == ',' && depth == 1) lastComma = close;
      }
      Use(name, text, lastComma + 1, text.substr(lastComma + 1, close - lastComma - 1));
    }
  }

  void Use(const std::string& name, const std::string& text, size_t offset, const std::string& expression) {
    const std::string where = name + ":" + std::to_string(LineAt(text, offset));
    static const std::regex choice("([^?]+)\\?([^:]+):(.+)");
    std::smatch match;
    const std::string trimmed = Trim(expression);
    std::vector<std::string> operands{trimmed};
    if (std::regex_match(trimmed, match, choice)) operands = {Trim(match[2]), Trim(match[3])};
    for (const auto& operand : operands) {
      // The help-button switch of a message's platform form stands where a context stands in
      // the program's own message form; it is not a context.
      if (operand == "true" || operand == "false") continue;
      const auto value = Value(operand);
      if (!value) {
        result_.notUnderstood.push_back(where + ": " + trimmed);
      } else if (*value != 0) {  // 0 is no context at all
        result_.contexts[*value].push_back(where);
      }
    }
  }

  std::optional<int> Value(const std::string& operand) const {
    static const std::regex number("0[xX][0-9a-fA-F]+|\\d+");
    static const std::regex identifier("(?:[A-Za-z_]\\w*::)*([A-Za-z_]\\w*)");
    std::smatch match;
    if (std::regex_match(operand, number)) return static_cast<int>(std::stol(operand, nullptr, 0));
    if (!std::regex_match(operand, match, identifier)) return std::nullopt;
    const auto found = constants_.find(match[1]);
    if (found == constants_.end() || found->second.size() != 1) return std::nullopt;
    return *found->second.begin();
  }

  std::map<std::string, std::string> code_;
  std::map<std::string, std::set<int>> constants_;
  HelpContextScan result_;
};

}  // namespace

HelpContextScan ScanHelpContexts(const std::map<std::string, std::string>& sources) { return Scanner(sources).Scan(); }

std::map<std::string, std::string> ProgramSources(const std::filesystem::path& root) {
  static const std::set<std::string> notProgram{".git", "tests", "fuzz", "bench", "help"};
  std::map<std::string, std::string> sources;
  for (auto it = std::filesystem::recursive_directory_iterator(root); it != std::filesystem::recursive_directory_iterator(); ++it) {
    const std::string name = it->path().filename().string();
    if (it->is_directory()) {
      if (it.depth() == 0 && (notProgram.count(name) || name.starts_with("build"))) it.disable_recursion_pending();
      continue;
    }
    const std::string extension = it->path().extension().string();
    if (extension != ".cpp" && extension != ".h") continue;
    std::ifstream in(it->path(), std::ios::binary);
    sources[std::filesystem::relative(it->path(), root).generic_string()] =
        std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  return sources;
}

}  // namespace vorn::test
