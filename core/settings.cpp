#include "core/settings.h"

#include <iterator>

#include "core/stored_number.h"

namespace vorn {
namespace {

constexpr const char* kBackupPathValue = "BackUp Path";
constexpr const char* kDestinationChoiceValue = "SV_Int";

// By Switch, in its order.
constexpr const char* kSwitchValues[] = {"UnLHA32", "MnWab",     "MnFavo", "OpenFolder", "Message",
                                         "wfST",    "FavoOrder", "Remote", "IEexport"};

static_assert(std::size(kSwitchValues) == static_cast<size_t>(Switch::ExportFavoritesHtml) + 1);

const char* ValueName(Switch which) { return kSwitchValues[static_cast<size_t>(which)]; }

void SaveValue(RegistryAccess& reg, const std::string& name, int16_t value) {
  reg.RegWriteValue(RegRoot::CurrentUser, kSettingsKey, name, value);
}

enum class Stored { Missing, One, OtherNumber, NotANumber };

// Reads a stored switch and compares it as a number with the value that stands for its state.
Stored ReadValue(const RegistryAccess& reg, const std::string& name, int expectedOne) {
  std::string text = reg.RegReadText(RegRoot::CurrentUser, kSettingsKey, name);
  if (text.empty()) return Stored::Missing;
  const std::optional<double> value = StoredNumber(text);
  if (!value) return Stored::NotANumber;
  return *value == expectedOne ? Stored::One : Stored::OtherNumber;
}

Stored ReadSwitch(const RegistryAccess& reg, Switch which, int expectedOne = 1) {
  return ReadValue(reg, ValueName(which), expectedOne);
}

// "OpenFolder" and the like: on unless a number other than 1 is stored.
int16_t LoadOnByDefault(RegistryAccess& reg, Switch name) {
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

void SaveSwitch(RegistryAccess& reg, Switch which, int16_t value) { SaveValue(reg, ValueName(which), value); }

std::string ReadStoredBackupPath(const RegistryAccess& reg) {
  return reg.RegReadText(RegRoot::CurrentUser, kSettingsKey, kBackupPathValue);
}

void SaveBackupPath(RegistryAccess& reg, const std::string& path) {
  reg.RegWriteValue(RegRoot::CurrentUser, kSettingsKey, kBackupPathValue, path);
}

void SaveBackupDestination(RegistryAccess& reg, const std::string& path, int16_t userPicked) {
  SaveBackupPath(reg, path);
  SaveValue(reg, kDestinationChoiceValue, userPicked);
}

int16_t ReadStoredDestinationChoice(const RegistryAccess& reg) {
  return reg.RegReadText(RegRoot::CurrentUser, kSettingsKey, kDestinationChoiceValue) == "1" ? 1 : 0;
}

void LoadBackupPath(RegistryAccess& reg, const EnvironmentRecord& record, Settings& settings) {
  settings.backupPath = ReadStoredBackupPath(reg);
  Stored svInt = ReadValue(reg, kDestinationChoiceValue, 0);
  bool userPicked = svInt != Stored::Missing && svInt != Stored::One;
  if (!userPicked) settings.backupPath = DefaultBackupPath(record);
  SaveBackupDestination(reg, settings.backupPath, userPicked ? 1 : 0);
}

void LoadSettings(RegistryAccess& reg, Settings& settings, MenuSwitches& menus) {
  switch (ReadSwitch(reg, Switch::CompressMail)) {
    case Stored::One:
    case Stored::NotANumber:
      menus.compressMail = true;
      SaveSwitch(reg, Switch::CompressMail, 1);
      break;
    default:
      menus.compressMail = false;
      SaveSwitch(reg, Switch::CompressMail, 0);
  }
  settings.openFolderAfterBackup = LoadOnByDefault(reg, Switch::OpenFolderAfterBackup);
  settings.confirmCrossFamilyRestore = LoadOnByDefault(reg, Switch::ConfirmCrossFamilyRestore);
  switch (ReadSwitch(reg, Switch::MainUserOnly, 0)) {
    case Stored::Missing:
      SaveSwitch(reg, Switch::MainUserOnly, 0);
      settings.mainUserOnly = 0;
      break;
    case Stored::OtherNumber:
      settings.mainUserOnly = 1;
      break;
    default:
      settings.mainUserOnly = 0;
  }
  settings.saveFavoritesOrder = LoadOnByDefault(reg, Switch::SaveFavoritesOrder);
  settings.saveDialUp = LoadOnByDefault(reg, Switch::SaveDialUp);
  settings.exportFavoritesHtml = LoadOnByDefault(reg, Switch::ExportFavoritesHtml);
  menus.saveAddressBook = LoadOnByDefault(reg, Switch::SaveAddressBook) == 1;
  menus.saveFavorites = LoadOnByDefault(reg, Switch::SaveFavorites) == 1;
}

}  // namespace vorn
