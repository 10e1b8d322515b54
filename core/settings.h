#pragma once
// The program's settings under HKEY_CURRENT_USER\Software\Vorn.
#include <cstdint>
#include <string>

#include "core/environment_record.h"
#include "core/registry_access.h"

namespace vorn {

inline constexpr const char* kSettingsKey = "Software\\Vorn";
inline constexpr const char* kBackupFolderName = "Vorn_bkup";

struct Settings {
  std::string backupPath;
  int16_t openFolderAfterBackup = 1;
  int16_t confirmCrossFamilyRestore = 1;
  int16_t mainUserOnly = 0;
  int16_t saveFavoritesOrder = 1;
  int16_t saveDialUp = 1;
  int16_t exportFavoritesHtml = 1;
};

// The three switches that live as the main window's menu check marks (MnLHA, MnWab, MnFavo).
struct MenuSwitches {
  bool compressMail = false;     // "UnLHA32": the mail store goes into "Mail.lzh"
  bool saveAddressBook = false;  // "MnWab"
  bool saveFavorites = false;    // "MnFavo"
};

std::string DefaultBackupPath(const EnvironmentRecord& record);
void LoadBackupPath(RegistryAccess& reg, const EnvironmentRecord& record, Settings& settings);
void LoadSettings(RegistryAccess& reg, Settings& settings, MenuSwitches& menus);
void SaveSwitch(RegistryAccess& reg, const std::string& valueName, int16_t value);

}  // namespace vorn
