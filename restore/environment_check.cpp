#include "restore/environment_check.h"

#include "core/environment_record.h"
#include "set/set_reading.h"

namespace vorn {
namespace {
constexpr size_t kOsField = 1;
constexpr size_t kOeField = 2;
}  // namespace

BackupEnvironmentCheck CheckBackupEnvironment(const FileSystem& files, const std::string& infoPath,
                                              const std::string& osFamily, const std::string& oeVersion,
                                              bool& sameOsFamily) {
  BackupEnvironmentCheck check;
  if (!files.Exists(infoPath)) return check;
  check.fields = ReadBackupInfoFields(files, infoPath).value_or(std::vector<std::string>());
  check.fields->resize(kBackupInfoFields);
  const std::string& os = (*check.fields)[kOsField];
  const std::string& oe = (*check.fields)[kOeField];
  bool sameFamily;
  if (osFamily == kFamilyNt) {
    sameFamily = os == "Windows2000" || os == "WindowsXP";
  } else if (osFamily == kFamily9x) {
    sameFamily = os == "Windows98" || os == "WindowsMe";
  } else {
    return check;
  }
  sameOsFamily = sameFamily;
  check.match = sameFamily && oe == oeVersion;
  return check;
}

}  // namespace vorn
