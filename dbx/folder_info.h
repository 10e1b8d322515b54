#pragma once
// What the mail-store tab shows about the clicked folder: its name, message count and size, and
// whether the Convert button may run on it.
#include <string>

#include "core/registry_access.h"
#include "platform/file_system.h"

namespace vorn {

struct FolderInfoLabels {
  std::string name;   // the node's text
  std::string count;  // "12 ﾒｯｾｰｼﾞ", "ファイルが存在しません" or "破損: 回復できるﾒｯｾｰｼﾞ 28"
  std::string size;   // "123KB( 126543 バイト)"
  bool convertEnabled = false;
  bool operator==(const FolderInfoLabels&) const = default;
};

// The folder file is the identity's Hotmail copy ("Account - folder.dbx") when it exists, else
// "folder.dbx"; a group node shows nothing.
FolderInfoLabels ShowFolderInfo(const FileSystem& files, const std::string& storeRoot,
                                const std::string& hotmailAccountName, const std::string& nodeText);

// The account name of the identity's account whose friendly name is "Hotmail": for the main
// identity the first such account of the shared account list, for another identity the last
// one of its own; empty when there is none.
std::string HotmailAccountName(const RegistryAccess& reg, const std::string& identitySubkey,
                               const std::string& mainIdentityGuid);

}  // namespace vorn
