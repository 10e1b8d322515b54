#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vorn {

struct OsVersionInfo {
  uint32_t platformId = 0;  // 2 = VER_PLATFORM_WIN32_NT
  uint32_t major = 0;
  uint32_t minor = 0;
  // The 2000/XP family; anything else is the 98/Me family.
  bool IsNtPlatform() const { return platformId == 2; }
};

using FileVersion = std::array<uint16_t, 4>;  // major, minor, build, revision

class Environment {
 public:
  virtual ~Environment() = default;
  virtual std::optional<std::string> Variable(const std::string& name) const = 0;
  virtual std::optional<OsVersionInfo> OsVersion() const = 0;
  // The fixed file version of an executable's version resource.
  virtual std::optional<FileVersion> ExecutableVersion(const std::string& path) const = 0;
  // Path search for one full path, without search path or default extension.
  virtual bool PathSearchFinds(const std::string& fullPath) const = 0;
  // The scripting shell's special folder of that name ("Favorites", "Desktop", ...); empty when unknown.
  virtual std::string SpecialFolder(const std::string& name) const = 0;
  // Folder of the running program, without trailing backslash.
  virtual std::string ProgramFolder() const = 0;
};

}  // namespace vorn
