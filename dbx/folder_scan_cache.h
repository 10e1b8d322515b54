#pragma once
// The scan's result kept per user in the registry, so that choosing a user does not scan again:
// "Software\Vorn\<user>\EmlNws" with the value "Update" and the subkeys "Eml" (one value per mail
// folder file) and "Nws" (one value per news folder), every value a DWORD 1.
#include <string>

#include "core/registry_access.h"
#include "dbx/folder_scan.h"

namespace vorn {

std::string FolderScanCacheKey(const std::string& userName);

// Replaces the user's whole cache with the lists; a value that cannot be written is left out.
void SaveFolderScanCache(RegistryAccess& reg, const std::string& userName, const FolderScanLists& lists);

// Fills the lists from the cache (in name order) and returns whether the scan must run again:
// always the first time, and whenever the mail folder key is missing.
bool LoadFolderScanCache(RegistryAccess& reg, const std::string& userName, FolderScanLists& lists);

}  // namespace vorn
