#pragma once
#include "platform/environment.h"

namespace vorn {

class Win32Environment : public Environment {
 public:
  std::optional<std::string> Variable(const std::string& name) const override;
  std::optional<OsVersionInfo> OsVersion() const override;
  std::optional<FileVersion> ExecutableVersion(const std::string& path) const override;
  bool PathSearchFinds(const std::string& fullPath) const override;
  std::string SpecialFolder(const std::string& name) const override;
  std::string ProgramFolder() const override;
};

}  // namespace vorn
