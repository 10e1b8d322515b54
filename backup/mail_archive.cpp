#include "backup/mail_archive.h"

#include "core/app.h"
#include "ui/form1.h"

namespace vorn {
namespace {

constexpr const char* kArchiveSwitches = "-+ -a1 -r2 -x1 -d0 -f0 -n0 -jm3";
constexpr uint32_t kOutputBufferSize = 255;

std::string WithTrailingBackslash(const std::string& folder) {
  return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

std::string Quoted(const std::string& text) { return std::string("\"").append(text).append("\""); }

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

void PackMailStore(App& app, const BackupSet& set) {
  if (StoredDestinationChoice(app) == 0) app.settings.backupPath = TrimAtNul(app.settings.backupPath);
  // The archive goes into the set's own user folder, the same folder every other step writes.
  const std::string archivePath = set.userBackupFolder + "\\Mail.lzh";
  const std::string line = MailArchiveCommandLine(archivePath, app.ProgramFolder(), app.env.storeRootFolder);
  std::string output;
  Form1& form = app.form1();
  if (app.platform.archiver.Unlha(form.hwnd, line, &output, kOutputBufferSize) == 0) return;
  MessageSpec message;
  message.text = "正常に処理を完了できませんでした。";
  message.title = "Vorn";
  message.icon = MsgIcon::Critical;
  message.owner = form.hwnd;
  app.platform.ui.ShowMessage(message);
  app.platform.ui.SetWaitCursor(false);
  form.visible = false;
  app.EndProgram();
}

}  // namespace vorn
