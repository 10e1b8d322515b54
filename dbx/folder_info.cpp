#include "dbx/folder_info.h"

#include "dbx/dbx_file.h"
#include "dbx/dbx_reader.h"
#include "dbx/folder_damage.h"
#include "dbx/mail_folder_tree.h"
#include "dbx/message_extraction.h"

namespace vorn {
namespace {

const char* const kAccountsKey = "Software\\Microsoft\\Internet Account Manager\\Accounts";

// ShowMessageCount: the count label and the Convert button from the folder file's header.
void ShowMessageCount(const FileSystem& files, const std::string& path, FolderInfoLabels& labels) {
  if (!files.Exists(path)) {
    labels = {};
    labels.count = "ファイルが存在しません";
    return;
  }
  // A file that cannot be read leaves the label as it was.
  auto file = DbxFile::Open(files, path);
  if (!file) return;
  // A damaged file tells what recovery finds, which Convert then writes out.
  if (const FolderDamage damage = InspectFolderFile(*file); damage.damaged) {
    labels.count = "破損: " + RecoverableText(damage);
    labels.convertEnabled = damage.recoverable + damage.deleted > 0;
    return;
  }
  int32_t count = 0;
  if (ReadMessageCount(*file, count) != DbxError::None) return;
  labels.count = std::to_string(count) + " ﾒｯｾｰｼﾞ";
  labels.convertEnabled = count != 0;
}

}  // namespace

FolderInfoLabels ShowFolderInfo(const FileSystem& files, const std::string& storeRoot,
                                const std::string& hotmailAccountName, const std::string& nodeText) {
  FolderInfoLabels labels;
  if (IsFolderGroupText(nodeText)) return labels;
  const std::string path = ResolveFolderFile(files, storeRoot, hotmailAccountName, nodeText);
  ShowMessageCount(files, path, labels);
  labels.name = nodeText;
  if (auto size = files.FileSize(path))
    labels.size = std::to_string(*size / 1024) + "KB( " + std::to_string(*size) + " バイト)";
  return labels;
}

std::string HotmailAccountName(const RegistryAccess& reg, const std::string& identitySubkey,
                               const std::string& mainIdentityGuid) {
  const std::string guid = identitySubkey.size() >= 2 ? identitySubkey.substr(1, identitySubkey.size() - 2) : "";
  const bool mainIdentity = guid == mainIdentityGuid;
  const std::string accounts =
      mainIdentity ? kAccountsKey : "Identities\\" + identitySubkey + "\\" + kAccountsKey;
  std::string name;
  for (const auto& account : reg.RegEnumSubkeys(RegRoot::CurrentUser, accounts)) {
    const std::string key = accounts + "\\" + account;
    if (reg.RegReadText(RegRoot::CurrentUser, key, "HTTPMail Friendly Name") != "Hotmail") continue;
    name = reg.RegReadText(RegRoot::CurrentUser, key, "Account Name");
    if (mainIdentity) break;
  }
  return name;
}

}  // namespace vorn
