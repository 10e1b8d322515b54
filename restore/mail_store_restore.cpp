#include "restore/mail_store_restore.h"

#include "lha/archive_members.h"
#include "lha/unlha_result.h"
#include "set/set_layout.h"

namespace vorn {
namespace {

constexpr const char* kFolderList = "Folders.dbx";

MailStoreOutcome NotRestored(std::string problem, int32_t archiverResult = 0) {
  return {false, archiverResult, std::move(problem), {}, {}};
}

MailStoreOutcome NoStaging(const StagedReplace& staged) {
  MailStoreOutcome outcome = NotRestored("no staging folder beside the Store Root");
  outcome.link = staged.link();
  if (!outcome.link.empty()) outcome.problem += ": " + outcome.link + " is a link";
  return outcome;
}

MailStoreOutcome Staged(const FileSystem& files, const StagedReplace& staged) {
  if (!files.Exists(staged.staging() + "\\" + kFolderList))
    return NotRestored(std::string("the set's mail store has no ") + kFolderList);
  return {true, 0, {}, {}, {}};
}

// An archive cut at a member boundary unpacks without fault; only its missing end mark tells.
bool EndsWithItsEndMark(const FileSystem& files, const std::string& archive) {
  auto members = unlha::ArchiveMembers::Open(files, archive);
  if (!members) return false;
  unlha::MemberInfo member;
  unlha::ArchiveMembers::Step step;
  while ((step = members->Next(member)) == unlha::ArchiveMembers::Step::Member) {
  }
  return step == unlha::ArchiveMembers::Step::End;
}

}  // namespace

std::vector<std::string> ListStoreRootFiles(const FileSystem& files, const std::string& storeRoot) {
  std::vector<std::string> names;
  for (const auto& entry : files.List(storeRoot, "*.*"))
    if (!entry.isDirectory && !(entry.attributes & (fileattr::kHidden | fileattr::kSystem)))
      names.push_back(entry.name);
  return names;
}

std::string MeltCommandLine(const std::string& setFolder, const std::string& destination) {
  return "x -d1 -y1 \"" + SetLayout(setFolder).MailArchive() + "\" \"" + destination + "\"\\ *.*";
}

MailStoreOutcome StageMailArchive(FileSystem& files, Archiver& archiver, WindowHandle owner,
                                  const std::string& setFolder, const StagedReplace& staged) {
  if (staged.staging().empty()) return NoStaging(staged);
  const int32_t result = archiver.Unlha(owner, MeltCommandLine(setFolder, staged.staging()), nullptr, 0);
  if (result != 0) return NotRestored("the archiver failed", result);
  if (!EndsWithItsEndMark(files, SetLayout(setFolder).MailArchive()))
    return NotRestored("Mail.lzh has no end mark: the archive is cut short", unlha::kArchiveDamaged);
  return Staged(files, staged);
}

MailStoreOutcome StageMailCopy(FileSystem& files, Shell& shell, WindowHandle owner, const std::string& setFolder,
                               const StagedReplace& staged) {
  if (staged.staging().empty()) return NoStaging(staged);
  const std::string mail = SetLayout(setFolder).MailFolder();
  if (shell.FileTransfer(owner, staged.staging(), mail + "\\*.dbx") != 0) return NotRestored("the copy failed");
  for (const auto& entry : files.List(mail, "*.dbx")) {
    if (entry.isDirectory) continue;
    if (files.FileSize(staged.staging() + "\\" + entry.name) != entry.size)
      return NotRestored("the copy of " + entry.name + " is incomplete");
  }
  return Staged(files, staged);
}

MailStoreOutcome CommitMailStore(StagedReplace& staged, const std::vector<std::string>& storeRootFiles) {
  if (staged.Commit(storeRootFiles)) return {true, 0, {}, {}, {}};
  MailStoreOutcome outcome = NotRestored("the Store Root could not take the new mail store");
  outcome.unrestored = staged.unrestored();
  return outcome;
}

}  // namespace vorn
