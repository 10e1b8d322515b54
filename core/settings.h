#pragma once
// The program's settings under HKEY_CURRENT_USER\Software\Vorn. The names they are stored
// under live only here: everything else reads and writes them through these functions.
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

// The 0/1 switches, each stored under its own value name.
enum class Switch {
  CompressMail,               // "UnLHA32", the menu item MnLHA
  SaveAddressBook,            // "MnWab"
  SaveFavorites,              // "MnFavo"
  OpenFolderAfterBackup,      // "OpenFolder"
  ConfirmCrossFamilyRestore,  // "Message"
  MainUserOnly,               // "wfST"
  SaveFavoritesOrder,         // "FavoOrder"
  SaveDialUp,                 // "Remote"
  ExportFavoritesHtml,        // "IEexport"
};  // the stored names follow this order in settings.cpp

std::string DefaultBackupPath(const EnvironmentRecord& record);
void LoadBackupPath(RegistryAccess& reg, const EnvironmentRecord& record, Settings& settings);
void LoadSettings(RegistryAccess& reg, Settings& settings, MenuSwitches& menus);
void SaveSwitch(RegistryAccess& reg, Switch which, int16_t value);

// "BackUp Path" as stored (empty when missing), and written alone.
std::string ReadStoredBackupPath(const RegistryAccess& reg);
void SaveBackupPath(RegistryAccess& reg, const std::string& path);
// "BackUp Path" with "SV_Int": 1 when the user picked the destination, 0 for the desktop's.
void SaveBackupDestination(RegistryAccess& reg, const std::string& path, int16_t userPicked);
// "SV_Int" as stored: 1 when the user picked the destination, otherwise 0.
int16_t ReadStoredDestinationChoice(const RegistryAccess& reg);

}  // namespace vorn
