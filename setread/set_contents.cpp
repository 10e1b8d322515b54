#include "setread/set_contents.h"

#include <algorithm>

#include "dbx/dbx_reader.h"
#include "dbx/folder_classification.h"
#include "platform/text.h"

namespace vorn {
namespace {

void SumUp(const FileSystem& files, const std::string& folder, SetFileEntry& entry) {
  for (const auto& child : files.List(folder, "*")) {
    if (child.isDirectory) {
      SumUp(files, folder + "\\" + child.name, entry);
    } else {
      entry.bytes += child.size;
      ++entry.files;
    }
  }
}

void ListFiles(const FileSystem& files, const std::string& folder, const std::string& relative,
               std::vector<SetFileEntry>& entries, bool sumUpFolders) {
  auto listed = files.List(folder, "*");
  std::sort(listed.begin(), listed.end(),
            [](const DirEntry& a, const DirEntry& b) { return AsciiLower(a.name) < AsciiLower(b.name); });
  for (const auto& entry : listed) {
    const std::string path = relative + entry.name;
    if (!entry.isDirectory) {
      entries.push_back({path, entry.size, 1});
    } else if (sumUpFolders && !EqualsIgnoringAsciiCase(entry.name, "Reg") &&
               !EqualsIgnoringAsciiCase(entry.name, "Wab")) {
      SetFileEntry summed{path + "\\", 0, 0};
      SumUp(files, folder + "\\" + entry.name, summed);
      entries.push_back(summed);
    } else {
      ListFiles(files, folder + "\\" + entry.name, path + "\\", entries, false);
    }
  }
}

}  // namespace

std::vector<SetFileEntry> ListSetFiles(const FileSystem& files, const std::string& userFolder) {
  std::vector<SetFileEntry> entries;
  ListFiles(files, userFolder, "", entries, true);
  return entries;
}

std::string SummarizeSetMail(SetMailFolders& mail, const std::function<void(const SetFolderSummary&)>& each) {
  SetFolderSummary summary;
  SetMailFolders::Step step;
  while ((step = mail.Next(summary.file)) == SetMailFolders::Step::Folder) {
    summary.kind.clear();
    summary.messageCount = 0;
    summary.error = DbxError::CannotOpen;
    summary.damage = {};
    if (auto file = mail.OpenFolder()) {
      summary.damage = InspectFolderFile(*file);
      summary.error = ReadMessageCount(*file, summary.messageCount);
      if (summary.error == DbxError::None) {
        const FolderClassification folder = ClassifyFolderFile(*file, summary.file.fileName);
        summary.kind = FolderKindName(folder);
        summary.error = folder.error;
      }
    }
    summary.memberDamage = mail.Damage();
    each(summary);
  }
  return step == SetMailFolders::Step::Damaged ? mail.problem() : "";
}

}  // namespace vorn
