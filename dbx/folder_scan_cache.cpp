#include "dbx/folder_scan_cache.h"

#include <charconv>

#include "core/settings.h"

namespace vorn {
namespace {

const char* const kUpdate = "Update";

std::vector<std::string> CachedNames(const RegistryAccess& reg, const std::string& key, bool& found) {
  auto names = reg.RegEnumValueNames(RegRoot::CurrentUser, key);
  found = names.has_value();
  if (!names) return {};
  SortFolderNames(*names);
  return *names;
}

}  // namespace

std::string FolderScanCacheKey(const std::string& userName) {
  return std::string(kSettingsKey) + "\\" + userName + "\\EmlNws";
}

void SaveFolderScanCache(RegistryAccess& reg, const std::string& userName, const FolderScanLists& lists) {
  const std::string key = FolderScanCacheKey(userName);
  reg.RegDeleteKeyTree(RegRoot::CurrentUser, key);
  for (const auto& name : lists.mail) reg.RegWriteValue(RegRoot::CurrentUser, key + "\\Eml", name, int32_t{1});
  for (const auto& name : lists.news) reg.RegWriteValue(RegRoot::CurrentUser, key + "\\Nws", name, int32_t{1});
}

bool LoadFolderScanCache(RegistryAccess& reg, const std::string& userName, FolderScanLists& lists) {
  const std::string key = FolderScanCacheKey(userName);
  bool mailCached = false, newsCached = false;
  lists.mail = CachedNames(reg, key + "\\Eml", mailCached);
  reg.RegWriteValue(RegRoot::CurrentUser, key, kUpdate, int32_t{mailCached ? 0 : 1});
  lists.news = CachedNames(reg, key + "\\Nws", newsCached);
  const std::string update = reg.RegReadText(RegRoot::CurrentUser, key, kUpdate);
  if (update.empty()) {
    reg.RegWriteValue(RegRoot::CurrentUser, key, kUpdate, int32_t{1});
    return true;
  }
  int number = 0;
  auto [end, error] = std::from_chars(update.data(), update.data() + update.size(), number);
  return error == std::errc() && end == update.data() + update.size() && number == 1;
}

}  // namespace vorn
