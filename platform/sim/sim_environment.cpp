#include "platform/sim/sim_environment.h"

#include "platform/text.h"

namespace vorn {

std::optional<std::string> SimEnvironment::Variable(const std::string& name) const {
  for (const auto& [key, value] : variables)
    if (EqualsIgnoringAsciiCase(key, name)) return value;
  return std::nullopt;
}

std::optional<FileVersion> SimEnvironment::ExecutableVersion(const std::string& path) const {
  auto it = executableVersions.find(path);
  if (it == executableVersions.end() || !files_.Exists(path)) return std::nullopt;
  return it->second;
}

bool SimEnvironment::PathSearchFinds(const std::string& fullPath) const {
  return files_.Exists(fullPath) && !files_.IsDirectory(fullPath);
}

std::string SimEnvironment::SpecialFolder(const std::string& name) const {
  for (const auto& [key, folder] : specialFolders)
    if (EqualsIgnoringAsciiCase(key, name)) return folder;
  return {};
}

void SimEnvironment::SetUpWindowsXp(const std::string& userName) {
  osVersion = OsVersionInfo{2, 5, 1};
  const std::string profile = "C:\\Documents and Settings\\" + userName;
  variables = {{"SystemRoot", "C:\\WINDOWS"},     {"windir", "C:\\WINDOWS"},
               {"USERPROFILE", profile},          {"TEMP", profile + "\\Local Settings\\Temp"},
               {"SystemDrive", "C:"},             {"ProgramFiles", "C:\\Program Files"}};
  specialFolders = {{"Favorites", profile + "\\Favorites"}, {"Desktop", profile + "\\デスクトップ"}};
}

void SimEnvironment::SetUpWindows98() {
  osVersion = OsVersionInfo{1, 4, 10};
  variables = {{"windir", "C:\\WINDOWS"}, {"TEMP", "C:\\WINDOWS\\TEMP"}};
  specialFolders = {{"Favorites", "C:\\WINDOWS\\Favorites"}, {"Desktop", "C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ"}};
}

}  // namespace vorn
