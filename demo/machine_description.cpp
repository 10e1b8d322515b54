#include "demo/machine_description.h"

#include <cctype>
#include <optional>
#include <sstream>

#include "platform/codepage.h"
#include "platform/folder_path.h"

namespace vorn::demo {
namespace {

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

std::optional<std::string> ExpandVariables(const std::string& text,
                                           const std::function<std::string(const std::string&)>& variable) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    size_t open = text.find("${", at);
    if (open == std::string::npos) {
      out += text.substr(at);
      break;
    }
    size_t close = text.find('}', open);
    if (close == std::string::npos) return std::nullopt;
    out += text.substr(at, open - at) + variable(text.substr(open + 2, close - open - 2));
    at = close + 1;
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "01,ff,0a" (blanks allowed) as bytes.
std::optional<std::vector<uint8_t>> HexBytes(const std::string& text) {
  std::vector<uint8_t> bytes;
  std::string digits;
  for (char c : text)
    if (c != ',' && c != ' ') digits += c;
  if (digits.size() % 2) return std::nullopt;
  for (size_t i = 0; i < digits.size(); i += 2) {
    int high = HexDigit(digits[i]), low = HexDigit(digits[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  return bytes;
}

// "{00112233-4455-6677-8899-AABBCCDDEEFF}" as the 16 bytes of a GUID in memory:
// the first three groups little-endian, the last two in order.
std::optional<std::vector<uint8_t>> GuidBytes(const std::string& text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
  std::string digits;
  for (char c : text.substr(1, 36))
    if (c != '-') digits += c;
  auto bytes = HexBytes(digits);
  if (!bytes || bytes->size() != 16) return std::nullopt;
  auto& b = *bytes;
  return std::vector<uint8_t>{b[3], b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8],
                              b[9], b[10], b[11], b[12], b[13], b[14], b[15]};
}

std::vector<uint8_t> AnsiText(const std::string& utf8) {
  std::string ansi = Utf8ToCp932(utf8);
  std::vector<uint8_t> bytes(ansi.begin(), ansi.end());
  bytes.push_back(0);
  return bytes;
}

// "a|b" as the two lines a and b, joined by CR LF.
std::string JoinLines(std::string text) {
  for (size_t at = text.find('|'); at != std::string::npos; at = text.find('|', at + 2)) text.replace(at, 1, "\r\n");
  return text;
}

// The text between the first and the last double quote.
std::optional<std::string> Quoted(const std::string& text) {
  size_t open = text.find('"'), close = text.rfind('"');
  if (open == std::string::npos || close == open) return std::nullopt;
  return text.substr(open + 1, close - open - 1);
}

std::optional<RegValue> ParseValueData(const std::string& data) {
  if (StartsWith(data, "\"")) {
    if (auto text = Quoted(data)) return RegValue{regtype::kSz, AnsiText(*text)};
  } else if (StartsWith(data, "lines:")) {
    if (auto text = Quoted(data.substr(6))) return RegValue{regtype::kSz, AnsiText(JoinLines(*text))};
  } else if (StartsWith(data, "expand:")) {
    if (auto text = Quoted(data.substr(7))) return RegValue{regtype::kExpandSz, AnsiText(*text)};
  } else if (StartsWith(data, "dword:")) {
    std::string digits = Trim(data.substr(6));
    if (digits.empty() || digits.size() > 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
      return std::nullopt;
    uint32_t number = static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
    return RegValue{regtype::kDword,
                    {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
                     static_cast<uint8_t>(number >> 16), static_cast<uint8_t>(number >> 24)}};
  } else if (StartsWith(data, "hex:")) {
    if (auto bytes = HexBytes(data.substr(4))) return RegValue{regtype::kBinary, *bytes};
  } else if (StartsWith(data, "guid:")) {
    if (auto bytes = GuidBytes(Trim(data.substr(5)))) return RegValue{regtype::kBinary, *bytes};
  }
  return std::nullopt;
}

class Parser {
 public:
  Parser(const std::function<std::string(const std::string&)>& variable, MachineFamily family)
      : variable_(variable), family_(family) {}

  MachineDescription Parse(const std::string& text) {
    std::istringstream in(text);
    std::string raw;
    while (std::getline(in, raw)) {
      ++lineNumber_;
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      if (StartsWith(raw, "|")) {
        if (!skippedFile_) AddFileLine(raw);
        continue;
      }
      file_ = nullptr;
      std::string line = Trim(raw);
      if (line.empty() || line[0] == '#') continue;
      skippedFile_ = false;
      if (!ForThisFamily(line)) {
        skippedFile_ = StartsWith(line, "file ");
        continue;
      }
      auto expanded = ExpandVariables(line, variable_);
      if (!expanded) {
        Error("unclosed ${");
        continue;
      }
      ParseLine(*expanded);
    }
    return std::move(machine_);
  }

 private:
  void Error(const std::string& what) {
    machine_.errors.push_back("line " + std::to_string(lineNumber_) + ": " + what);
  }

  // Takes off a family tag; false when the line belongs to the other family.
  bool ForThisFamily(std::string& line) const {
    for (auto [tag, family] : {std::pair{"nt:", MachineFamily::Nt}, std::pair{"9x:", MachineFamily::Windows9x}}) {
      if (!StartsWith(line, tag)) continue;
      line = Trim(line.substr(3));
      return family == family_;
    }
    return true;
  }

  void AddFileLine(const std::string& raw) {
    if (!file_) return Error("content line outside a file");
    std::string content = raw.substr(1);
    if (StartsWith(content, " ")) content.erase(0, 1);
    auto expanded = ExpandVariables(content, variable_);
    if (!expanded) return Error("unclosed ${");
    file_->lines.push_back(*expanded);
  }

  void ParseLine(const std::string& line) {
    if (line.front() == '[') return ParseKey(line);
    if (line.front() == '"' || line.front() == '@') return ParseValue(line);
    if (StartsWith(line, "folder ")) {
      machine_.steps.push_back(FolderCreate{Trim(line.substr(7))});
    } else if (StartsWith(line, "file ")) {
      machine_.steps.push_back(TextFileWrite{Trim(line.substr(5)), {}});
      file_ = &std::get<TextFileWrite>(machine_.steps.back());
    } else if (StartsWith(line, "copy ")) {
      size_t arrow = line.find("->");
      if (arrow == std::string::npos) return Error("copy needs NAME -> PATH");
      machine_.steps.push_back(FileCopy{Trim(line.substr(5, arrow - 5)), Trim(line.substr(arrow + 2))});
    } else {
      Error("not understood: " + line);
    }
  }

  void ParseKey(const std::string& line) {
    if (line.back() != ']') return Error("key line must end with ]");
    std::string path = line.substr(1, line.size() - 2);
    size_t slash = path.find('\\');
    std::string root = path.substr(0, slash);
    keyPath_ = slash == std::string::npos ? "" : path.substr(slash + 1);
    if (root == "HKEY_CURRENT_USER" || root == "HKCU") {
      root_ = RegRoot::CurrentUser;
    } else if (root == "HKEY_LOCAL_MACHINE" || root == "HKLM") {
      root_ = RegRoot::LocalMachine;
    } else {
      keyPath_.clear();
      return Error("unknown root " + root);
    }
    if (keyPath_.empty()) Error("key path missing");
  }

  void ParseValue(const std::string& line) {
    if (keyPath_.empty()) return Error("value outside a key");
    std::string name;
    size_t rest = 1;
    if (line.front() == '"') {
      size_t close = line.find('"', 1);
      if (close == std::string::npos) return Error("unclosed value name");
      name = line.substr(1, close - 1);
      rest = close + 1;
    }
    std::string tail = Trim(line.substr(rest));
    if (!StartsWith(tail, "=")) return Error("value needs =");
    auto value = ParseValueData(Trim(tail.substr(1)));
    if (!value) return Error("bad value data");
    machine_.steps.push_back(RegistryWrite{root_, keyPath_, name, *value});
  }

  const std::function<std::string(const std::string&)>& variable_;
  MachineFamily family_;
  MachineDescription machine_;
  int lineNumber_ = 0;
  RegRoot root_ = RegRoot::CurrentUser;
  std::string keyPath_;
  TextFileWrite* file_ = nullptr;  // the file whose content lines follow
  bool skippedFile_ = false;       // the content lines that follow belong to the other family
};

struct StepApplier {
  RegistryStore& registry;
  FileSystem& files;
  const std::vector<std::string>& sourceFolders;

  std::optional<std::string> operator()(const RegistryWrite& write) const {
    if (registry.WriteValue(write.root, write.keyPath, write.valueName, write.value)) return std::nullopt;
    return "cannot write " + write.keyPath + " \"" + write.valueName + "\"";
  }
  std::optional<std::string> operator()(const FolderCreate& folder) const {
    if (CreateFolderPath(files, folder.path + "\\")) return std::nullopt;
    return "cannot create folder " + folder.path;
  }
  std::optional<std::string> operator()(const TextFileWrite& file) const {
    CreateFolderPath(files, file.path);
    std::string content;
    for (const auto& line : file.lines) content += Utf8ToCp932(line) + "\r\n";
    auto out = files.OpenWrite(file.path);
    if (out && out->Write(content.data(), content.size()) && out->Close()) return std::nullopt;
    return "cannot write file " + file.path;
  }
  std::optional<std::string> operator()(const FileCopy& copy) const {
    CreateFolderPath(files, copy.targetPath);
    const bool fullPath = copy.sourceName.find('\\') != std::string::npos;
    for (const auto& folder : fullPath ? std::vector<std::string>{""} : sourceFolders) {
      std::string source = fullPath ? copy.sourceName : folder + "\\" + copy.sourceName;
      if (files.Exists(source)) {
        if (files.CopyFile(source, copy.targetPath, true) == FsResult::Ok) return std::nullopt;
        return "cannot copy " + source + " to " + copy.targetPath;
      }
    }
    return "no source file " + copy.sourceName;
  }
};

}  // namespace

MachineDescription ParseMachineDescription(const std::string& text,
                                           const std::function<std::string(const std::string&)>& variable,
                                           MachineFamily family) {
  return Parser(variable, family).Parse(text);
}

std::vector<std::string> ApplyMachine(const MachineDescription& machine, RegistryStore& registry, FileSystem& files,
                                      const std::vector<std::string>& sourceFolders) {
  std::vector<std::string> failures;
  StepApplier apply{registry, files, sourceFolders};
  for (const auto& step : machine.steps)
    if (auto failure = std::visit(apply, step)) failures.push_back(*failure);
  return failures;
}

}  // namespace vorn::demo
