#pragma once
// The help project file (.hhp), in the help compiler's own format: the sections [OPTIONS],
// [FILES], [ALIAS] and [MAP], so the same sources also compile with the help workshop.
#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorn::help {

// A fault in the help sources, with the file (and line) it is in.
struct HelpError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct HelpProject {
  std::filesystem::path folder;  // the files are named relative to it
  std::string title;             // UTF-8, like every text of the project
  std::string defaultTopic;
  std::string contentsFile;
  std::string indexFile;
  std::string defaultFont;  // "face,size,charset", may be empty
  uint32_t language = 0;    // a Windows LCID
  std::vector<std::string> files;              // [FILES], in order, with "/" separators
  std::map<uint32_t, std::string> contextMap;  // context number -> file, from [MAP] and [ALIAS]
};

HelpProject ReadHelpProject(const std::filesystem::path& projectFile);

}  // namespace vorn::help
