#include "backup/damaged_folder_lines.h"

#include "dbx/folder_damage.h"
#include "dbx/folder_scan.h"

namespace vorn {

std::string DamagedFolderLines(const FileSystem& files, const std::string& storeRoot) {
  std::string lines;
  for (const auto& name : ListCandidateFiles(files, storeRoot)) {
    const FolderDamage damage = InspectFolderFile(files, storeRoot + "\\" + name);
    if (damage.damaged)
      lines.append("\"").append(kDamagedFolderLabel).append(name + " (" + RecoverableText(damage) + ")\"\r\n");
  }
  return lines;
}

}  // namespace vorn
