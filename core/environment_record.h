#pragma once
#include <string>

namespace vorn {

inline constexpr const char* kFamilyNt = "Windows2000";
inline constexpr const char* kFamily9x = "Windows98";

// Where things are on this machine; filled at start-up, the selection when a user is picked.
struct EnvironmentRecord {
  std::string osFamily;  // kFamilyNt (2000, XP) or kFamily9x (98, Me)
  std::string osKind;    // "Windows98", "WindowsMe", "Windows2000", "WindowsXP" or empty
  std::string systemFolder;
  std::string userProfileFolder;
  std::string desktopFolder;
  std::string wabFilePath;
  bool addressBookMissing = false;
  std::string favoritesFolder;
  std::string oeExePath;
  std::string oeVersion;
  std::string wabExePath;
  std::string mainIdentityGuid;  // without braces
  std::string selectedUserName;
  std::string selectedIdentityGuid;  // the identity subkey name, in braces
  std::string storeRootFolder;

  bool IsNt() const { return osFamily == kFamilyNt; }
};

}  // namespace vorn
