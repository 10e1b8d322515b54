#include "backup/mail_archive.h"

#include "core/app.h"
#include "core/run_context.h"
#include "platform/text.h"

namespace vorn {
namespace {

constexpr const char* kArchiveSwitches = "-+ -a1 -r2 -x1 -d0 -f0 -n0 -jm3";
constexpr uint32_t kOutputBufferSize = 255;

std::string WithTrailingBackslash(const std::string& folder) {
  return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

}  // namespace

std::string MailArchiveCommandLine(const std::string& archivePath, const std::string& programFolder,
                                   const std::string& storeRoot) {
  const char* const fileList[] = {"*.*", ""};
  std::string line = std::string("a ").append(kArchiveSwitches);
  for (const std::string& item : {Quoted(archivePath), Quoted(WithTrailingBackslash(programFolder)),
                                  Quoted(WithTrailingBackslash(storeRoot))})
    line.append(" ").append(item);
  for (const char* entry : fileList) line.append(" ").append(Quoted(entry));
  return line;
}

void LHA(RunContext& run, const BackupSet& set) {
  App& app = run.app;
  if (run.DestinationChoice() == 0) app.settings.backupPath = TrimAtNul(app.settings.backupPath);
  // The archive goes into the set's own user folder, the same folder every other step writes.
  const std::string archivePath = set.Layout().MailArchive();
  const std::string line = MailArchiveCommandLine(archivePath, app.ProgramFolder(), app.env.storeRootFolder);
  std::string output;
  if (app.platform.archiver.Unlha(run.Owner(), line, &output, kOutputBufferSize) == 0) return;
  run.Show({"正常に処理を完了できませんでした。", "Vorn", MsgIcon::Critical, MsgButtons::Ok, 0});
  app.EndProgram();
}

}  // namespace vorn
