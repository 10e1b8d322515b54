#pragma once
#include <map>

#include "platform/environment.h"
#include "platform/file_system.h"

namespace vorn {

// A scripted machine: variables, version, executables' versions and special folders are set by
// the test; the path search asks the given file system.
class SimEnvironment : public Environment {
 public:
  explicit SimEnvironment(const FileSystem& files) : files_(files) {}

  std::optional<std::string> Variable(const std::string& name) const override;
  std::optional<OsVersionInfo> OsVersion() const override { return osVersion; }
  std::optional<FileVersion> ExecutableVersion(const std::string& path) const override;
  bool PathSearchFinds(const std::string& fullPath) const override;
  std::string SpecialFolder(const std::string& name) const override;
  std::string ProgramFolder() const override { return programFolder; }

  // Names of variables and special folders compare without regard to case.
  std::map<std::string, std::string> variables;
  std::optional<OsVersionInfo> osVersion = OsVersionInfo{2, 5, 1};
  std::map<std::string, FileVersion> executableVersions;
  std::map<std::string, std::string> specialFolders;
  std::string programFolder = "C:\\Program Files\\Vorn";

  // A Windows XP machine with the usual variables below C:.
  void SetUpWindowsXp(const std::string& userName = "taro");
  void SetUpWindows98();

 private:
  const FileSystem& files_;
};

}  // namespace vorn
