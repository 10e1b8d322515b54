#include "help/writer/help_project.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace vorn::help {
namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; });
  return text;
}

std::string FileName(std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

// "0x411 Japanese" or "1041": the number at the start.
uint32_t LeadingNumber(const std::string& text) {
  size_t used = 0;
  const unsigned long value = std::stoul(text, &used, 0);
  if (used == 0) throw std::invalid_argument(text);
  return static_cast<uint32_t>(value);
}

class ProjectReader {
 public:
  explicit ProjectReader(const std::filesystem::path& file) : file_(file) {}

  HelpProject Read() {
    std::ifstream in(file_, std::ios::binary);
    if (!in) throw HelpError(file_.string() + ": cannot be read");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    project_.folder = file_.parent_path();
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
      ++lineNumber_;
      line = Trim(line);
      if (line.empty() || line[0] == ';') continue;
      if (line.front() == '[' && line.back() == ']') {
        section_ = Lower(line.substr(1, line.size() - 2));
        if (section_ != "options" && section_ != "files" && section_ != "alias" && section_ != "map")
          Fail("section [" + section_ + "] is not supported");
        continue;
      }
      ReadLine(line);
    }
    lineNumber_ = 0;
    Check();
    return project_;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw HelpError(file_.string() + (lineNumber_ ? ":" + std::to_string(lineNumber_) : "") + ": " + what);
  }

  void ReadLine(const std::string& line) {
    if (section_ == "files") {
      project_.files.push_back(FileName(line));
    } else if (section_ == "options" || section_ == "alias") {
      const auto equals = line.find('=');
      if (equals == std::string::npos) Fail("expected name=value");
      const std::string name = Trim(line.substr(0, equals));
      const std::string value = Trim(line.substr(equals + 1));
      if (section_ == "options") {
        Option(Lower(name), value);
      } else if (!aliases_.emplace(name, FileName(value)).second) {
        Fail("alias " + name + " is given twice");
      }
    } else if (section_ == "map") {
      std::istringstream words(line);
      std::string define, name, number;
      if (!(words >> define >> name >> number) || define != "#define") Fail("expected #define NAME NUMBER");
      uint32_t context = 0;
      try {
        context = LeadingNumber(number);
      } catch (const std::exception&) {
        Fail("not a context number: " + number);
      }
      if (!contexts_.emplace(context, name).second) Fail("context " + number + " is mapped twice");
    } else {
      Fail("text outside a section");
    }
  }

  void Option(const std::string& name, const std::string& value) {
    if (name == "title") {
      project_.title = value;
    } else if (name == "default topic") {
      project_.defaultTopic = FileName(value);
    } else if (name == "contents file") {
      project_.contentsFile = FileName(value);
    } else if (name == "index file") {
      project_.indexFile = FileName(value);
    } else if (name == "default font") {
      project_.defaultFont = value;
    } else if (name == "language") {
      try {
        project_.language = LeadingNumber(value);
      } catch (const std::exception&) {
        Fail("not a language number: " + value);
      }
    } else if (name != "compiled file" && name != "compatibility" && name != "display compile progress") {
      // Anything else (full-text search, binary index, ...) would be silently missing from the file.
      Fail("option \"" + name + "\" is not supported by this writer");
    }
  }

  void Check() {
    if (project_.title.empty() || project_.defaultTopic.empty() || project_.contentsFile.empty() ||
        project_.indexFile.empty() || project_.language == 0)
      Fail("[OPTIONS] needs Title, Default topic, Contents file, Index file and Language");
    const std::set<std::string> listed(project_.files.begin(), project_.files.end());
    if (!listed.count(project_.defaultTopic)) Fail("the default topic " + project_.defaultTopic + " is not in [FILES]");
    std::set<std::string> usedAliases;
    for (const auto& [context, name] : contexts_) {
      const auto alias = aliases_.find(name);
      if (alias == aliases_.end()) Fail("[MAP] names " + name + ", which has no [ALIAS]");
      if (!listed.count(alias->second)) Fail("alias " + name + " names " + alias->second + ", which is not in [FILES]");
      project_.contextMap[context] = alias->second;
      usedAliases.insert(name);
    }
    for (const auto& [name, topic] : aliases_)
      if (!usedAliases.count(name)) Fail("alias " + name + " has no context number in [MAP]");
  }

  std::filesystem::path file_;
  HelpProject project_;
  std::string section_;
  int lineNumber_ = 0;
  std::map<std::string, std::string> aliases_;
  std::map<uint32_t, std::string> contexts_;
};

}  // namespace

HelpProject ReadHelpProject(const std::filesystem::path& projectFile) { return ProjectReader(projectFile).Read(); }

}  // namespace vorn::help
