#include "core/settings.h"

#include "core/stored_number.h"

namespace vorn {
namespace {

enum class Stored { Missing, One, OtherNumber, NotANumber };

// Reads a stored switch and compares it as a number with the value that stands for its state.
Stored ReadSwitch(const RegistryAccess& reg, const std::string& name, int expectedOne = 1) {
  std::string text = reg.RegReadText(RegRoot::CurrentUser, kSettingsKey, name);
  if (text.empty()) return Stored::Missing;
  const std::optional<double> value = StoredNumber(text);
  if (!value) return Stored::NotANumber;
  return *value == expectedOne ? Stored::One : Stored::OtherNumber;
}

// "OpenFolder" and the like: on unless a number other than 1 is stored.
int16_t LoadOnByDefault(RegistryAccess& reg, const std::string& name) {
  switch (ReadSwitch(reg, name)) {
    case Stored::Missing:
      SaveSwitch(reg, name, 1);
      return 1;
    case Stored::OtherNumber:
      return 0;
    default:
      return 1;
  }
}

}  // namespace

std::string DefaultBackupPath(const EnvironmentRecord& record) {
  return record.desktopFolder + "\\" + kBackupFolderName;
}

void SaveSwitch(RegistryAccess& reg, const std::string& valueName, int16_t value) {
  reg.RegWriteValue(RegRoot::CurrentUser, kSettingsKey, valueName, value);
}

void LoadBackupPath(RegistryAccess& reg, const EnvironmentRecord& record, Settings& settings) {
  settings.backupPath = reg.RegReadText(RegRoot::CurrentUser, kSettingsKey, "BackUp Path");
  Stored svInt = ReadSwitch(reg, "SV_Int", 0);
  bool userPicked = svInt != Stored::Missing && svInt != Stored::One;
  if (!userPicked) settings.backupPath = DefaultBackupPath(record);
  reg.RegWriteValue(RegRoot::CurrentUser, kSettingsKey, "BackUp Path", settings.backupPath);
  SaveSwitch(reg, "SV_Int", userPicked ? 1 : 0);
}

void LoadSettings(RegistryAccess& reg, Settings& settings, MenuSwitches& menus) {
  switch (ReadSwitch(reg, "UnLHA32")) {
    case Stored::One:
    case Stored::NotANumber:
      menus.compressMail = true;
      SaveSwitch(reg, "UnLHA32", 1);
      break;
    default:
      menus.compressMail = false;
      SaveSwitch(reg, "UnLHA32", 0);
  }
  settings.openFolderAfterBackup = LoadOnByDefault(reg, "OpenFolder");
  settings.confirmCrossFamilyRestore = LoadOnByDefault(reg, "Message");
  switch (ReadSwitch(reg, "wfST", 0)) {
    case Stored::Missing:
      SaveSwitch(reg, "wfST", 0);
      settings.mainUserOnly = 0;
      break;
    case Stored::OtherNumber:
      settings.mainUserOnly = 1;
      break;
    default:
      settings.mainUserOnly = 0;
  }
  settings.saveFavoritesOrder = LoadOnByDefault(reg, "FavoOrder");
  settings.saveDialUp = LoadOnByDefault(reg, "Remote");
  settings.exportFavoritesHtml = LoadOnByDefault(reg, "IEexport");
  menus.saveAddressBook = LoadOnByDefault(reg, "MnWab") == 1;
  menus.saveFavorites = LoadOnByDefault(reg, "MnFavo") == 1;
}

}  // namespace vorn
