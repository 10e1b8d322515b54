#include "core/environment_discovery.h"

#include <algorithm>
#include <cctype>

namespace vorn {
namespace {

const char* const kWabFileKey = "Software\\Microsoft\\WAB\\WAB4\\Wab File Name";
const char* const kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const kAppPathsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const char* const kAccountsKey = "Software\\Microsoft\\Internet Account Manager\\Accounts";

std::string AppPath(const Environment& environment, const RegistryAccess& reg, const EnvironmentRecord& record,
                    const std::string& exe) {
  std::string path = reg.RegReadText(RegRoot::LocalMachine, kAppPathsKey + exe, "");
  return record.IsNt() ? ExpandLeadingVariable(environment, path) : path;
}

std::string VersionText(const FileVersion& v) {
  std::string text;
  for (size_t i = 0; i < v.size(); ++i) {
    if (i) text += '.';
    text += std::to_string(static_cast<int16_t>(v[i]));
  }
  return text;
}

}  // namespace

void DetectOsFamily(const Environment& environment, EnvironmentRecord& record) {
  auto version = environment.OsVersion();
  if (version && version->IsNtPlatform()) {
    record.osFamily = kFamilyNt;
    record.systemFolder = environment.Variable("SystemRoot").value_or("") + "\\system32";
  } else {
    record.osFamily = kFamily9x;
    record.systemFolder = environment.Variable("Windir").value_or("");
  }
}

std::string DetectOsKind(const Environment& environment, EnvironmentRecord& record) {
  auto version = environment.OsVersion();
  if (!version) return record.osKind;
  const std::string text = std::to_string(version->major) + "." + std::to_string(version->minor);
  if (text == "4.10") record.osKind = "Windows98";
  else if (text == "4.90") record.osKind = "WindowsMe";
  else if (text == "5.0") record.osKind = "Windows2000";
  else if (text == "5.1") record.osKind = "WindowsXP";
  return record.osKind;
}

void DetectDesktop(const Environment& environment, EnvironmentRecord& record) {
  if (record.IsNt()) {
    record.userProfileFolder = environment.Variable("USERPROFILE").value_or("");
    record.desktopFolder = record.userProfileFolder + "\\デスクトップ";
  } else {
    record.userProfileFolder.clear();
    record.desktopFolder = environment.Variable("Windir").value_or("") + "\\ﾃﾞｽｸﾄｯﾌﾟ";
  }
}

void LoadEnvironment(const Environment& environment, const RegistryAccess& reg, EnvironmentRecord& record) {
  record.wabFilePath = reg.RegReadText(RegRoot::CurrentUser, kWabFileKey, "");
  record.addressBookMissing = record.wabFilePath.empty();

  std::string favorites = reg.RegReadText(RegRoot::CurrentUser, kShellFoldersKey, "Favorites");
  if (favorites.empty()) {
    record.favoritesFolder = environment.SpecialFolder("Favorites");
  } else if (record.IsNt() && favorites.compare(0, 13, "%USERPROFILE%") == 0) {
    record.favoritesFolder = record.userProfileFolder + favorites.substr(13);
  } else {
    record.favoritesFolder = favorites;
  }

  record.oeExePath = AppPath(environment, reg, record, "msimn.exe");
  record.wabExePath = AppPath(environment, reg, record, "wab.exe");
  // An unreadable version resource leaves the text empty, which start-up treats as too old.
  auto version = environment.ExecutableVersion(record.oeExePath);
  record.oeVersion = version ? VersionText(*version) : std::string();
}

void ReadMainIdentity(const RegistryAccess& reg, EnvironmentRecord& record) {
  RegReadResult read = reg.RegReadValue(RegRoot::CurrentUser, kAccountsKey, "AssociatedID");
  if (read.status == kRegNoValue) return;
  record.mainIdentityGuid = GuidTextFromBytes(read.Text());
}

std::string GuidTextFromBytes(const std::string& hexByteText) {
  std::string hex;
  for (char c : hexByteText)
    if (c != ' ' && c != '-' && c != '{' && c != '}') hex += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  hex.resize(32, '0');
  auto pair = [&](int n) { return hex.substr(2 * (n - 1), 2); };  // byte pairs numbered from 1
  return pair(4) + pair(3) + pair(2) + pair(1) + "-" + pair(6) + pair(5) + "-" + pair(8) + pair(7) + "-" +
         hex.substr(16, 4) + "-" + hex.substr(20, 12);
}

std::vector<std::string> ListIdentities(const RegistryAccess& reg) {
  return reg.RegEnumSubkeys(RegRoot::CurrentUser, "Identities");
}

std::string ReadUserName(const RegistryAccess& reg, const std::string& identitySubkey) {
  return reg.RegReadText(RegRoot::CurrentUser, "Identities\\" + identitySubkey, "Username");
}

std::vector<std::string> OrderIdentities(const std::vector<std::string>& subkeys, const std::string& mainIdentityGuid) {
  std::vector<std::string> ordered;
  for (const auto& subkey : subkeys) {
    if (subkey == "{" + mainIdentityGuid + "}") {
      ordered.insert(ordered.begin(), subkey);
    } else {
      ordered.push_back(subkey);
    }
  }
  return ordered;
}

bool MainIdentityPresent(const std::vector<std::string>& identitySubkeys, const std::string& mainIdentityGuid) {
  return std::find(identitySubkeys.begin(), identitySubkeys.end(), "{" + mainIdentityGuid + "}") !=
         identitySubkeys.end();
}

std::string OeIdentityKey(const std::string& identitySubkey) {
  return "Identities\\" + identitySubkey + "\\Software\\Microsoft\\Outlook Express\\5.0";
}

std::string ResolveStoreRoot(const RegistryAccess& reg, const EnvironmentRecord& record,
                             const std::string& identitySubkey) {
  std::string root = reg.RegReadText(RegRoot::CurrentUser, OeIdentityKey(identitySubkey), "Store Root");
  if (!root.empty() && root.back() == '\\') root.pop_back();
  if (root.compare(0, 13, "%UserProfile%") == 0) root = record.userProfileFolder + root.substr(13);
  return root;
}

bool FileExists(const Environment& environment, const std::string& path) {
  return !path.empty() && environment.PathSearchFinds(path);
}

std::string ExpandLeadingVariable(const Environment& environment, const std::string& text) {
  if (text.empty() || text[0] != '%') return text;
  size_t close = text.find('%', 1);
  if (close == std::string::npos) return text;
  std::string name = text.substr(1, close - 1);
  return environment.Variable(name).value_or("") + text.substr(close + 1);
}

int OeVersionNumber(const std::string& oeVersion) {
  std::string digits;
  for (char c : oeVersion)
    if (c != '.') digits += c;
  digits = digits.substr(0, 5);
  int n = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace vorn
