#include "restore/restore_run.h"

#include <cstdio>
#include <utility>

#include "core/help_contexts.h"
#include "core/mail_program_checks.h"
#include "core/signature_texts.h"
#include "dbx/dbx_error.h"
#include "platform/folder_path.h"
#include "restore/address_book_restore.h"
#include "restore/dialup_restore.h"
#include "restore/environment_check.h"
#include "restore/favorites_restore.h"
#include "restore/mail_store_restore.h"
#include "restore/registry_restore.h"
#include "set/set_layout.h"
#include "set/set_reading.h"

namespace vorn {
namespace {

constexpr size_t kReportedLines = 20;

// R4 and, when the user asks for the details, the backup information dialog and R5. False
// when the user does not want to go on.
bool ConfirmDifferentEnvironment(RestoreContext& run, const ShowBackupInfo& showBackupInfo,
                                 const std::vector<std::string>& fields) {
  if (run.app.settings.confirmCrossFamilyRestore != 1) return true;
  const MsgAnswer details = run.Show({
      "バックアップデータは、現在のOSまたは、Outlook Expressのバージョンと\r\n異なっています。詳細を確認しますか？",
      "確認", MsgIcon::Question, MsgButtons::YesNo, help::IDH_ENVIRONMENT_DIFFERS});
  if (details == MsgAnswer::No) return true;
  if (details != MsgAnswer::Yes) return false;  // Esc or a closed box: the user went no further
  if (showBackupInfo) showBackupInfo(fields);
  return run.Show({"リストアを続行しますか", "Vorn", MsgIcon::Question, MsgButtons::YesNo, 0}) == MsgAnswer::Yes;
}

void TellMailNotRestored(RestoreContext& run, const MailStoreOutcome& outcome) {
  run.report.mailProblem = outcome.problem;
  if (!outcome.unrestored.empty()) {
    run.report.mailProblem += "; the former files are in " + outcome.unrestored;
    const std::string where = "元のメールデータの一部を元の場所に戻せませんでした。\r\n元のファイルは次のフォルダにあります:\r\n" +
                              outcome.unrestored;
    run.report.failures.push_back("メールデータをリストアできませんでした。" + where);
    run.Show({"メールデータをリストアできませんでした。\r\n" + where, "Failed", MsgIcon::Critical, MsgButtons::Ok, 0});
    return;
  }
  run.report.failures.push_back("メールデータはリストアしませんでした。現在のメールデータはそのまま残っています");
  if (outcome.archiverResult != 0) {
    char code[16];
    std::snprintf(code, sizeof code, "%X", static_cast<unsigned>(outcome.archiverResult));
    run.Show({std::string("解凍に失敗しました。Error Code:0x") + code, "Failed", MsgIcon::Critical, MsgButtons::Ok, 0});
    return;
  }
  // A link where the new store was to be staged is named as the extraction names one.
  const std::string cause =
      outcome.link.empty() ? std::string() : DbxErrorDescription(DbxError::CannotCreate) + "\r\n" + outcome.link + "\r\n";
  run.Show({"メールデータをリストアできませんでした。\r\n" + cause + "現在のメールデータはそのまま残っています。", "Failed",
           MsgIcon::Critical, MsgButtons::Ok, 0});
}

void AppendList(std::string& text, const std::string& heading, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  if (!text.empty()) text += "\r\n\r\n";
  text += heading;
  for (size_t i = 0; i < lines.size() && i < kReportedLines; ++i) text += "\r\n" + lines[i];
  if (lines.size() > kReportedLines) text += "\r\nほか " + std::to_string(lines.size() - kReportedLines) + " 件";
}

// The run's own folder below TEMP for the files it derives from the set's; gone at the run's end.
class WorkFolder {
 public:
  explicit WorkFolder(RestoreContext& run) : run_(run) {
    const std::string temp = run.app.platform.environment.Variable("TEMP").value_or("");
    if (!temp.empty()) run.state.workFolder = CreateFolderBeside(run.files(), temp + "\\Vorn", "-restore").path;
  }
  ~WorkFolder() {
    if (!run_.state.workFolder.empty()) DeleteTree(run_.files(), run_.state.workFolder);
    run_.state.workFolder.clear();
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

 private:
  RestoreContext& run_;
};

}  // namespace

std::string RestoreReportText(const RunReport& report) {
  std::string text;
  AppendList(text, "バックアップの範囲外のため、次のキーは取り込みませんでした:", report.skippedKeys);
  AppendList(text, "次の削除の指示は実行しませんでした:", report.refusedDeletions);
  AppendList(text, "次の処理はできませんでした:", report.failures);
  return text;
}

bool Melt(RestoreContext& run, const StagedReplace& staged) {
  const MailStoreOutcome outcome =
      StageMailArchive(run.files(), run.app.platform.archiver, run.Owner(), run.state.restoreFolder, staged);
  if (!outcome.restored) TellMailNotRestored(run, outcome);
  return outcome.restored;
}

RestoreEnd ResMain(RestoreContext& run, const ShowBackupInfo& showBackupInfo) {
  UiServices& ui = run.app.platform.ui;
  run.state.accountStepCancelled = false;
  if (run.env().storeRootFolder.empty()) {
    run.Show({"Store Root が見つかりません。\r\n一度 Outlook Expressを起動させる必要があります。", "注意", MsgIcon::None,
             MsgButtons::Ok, help::IDH_STORE_ROOT_MISSING});
    run.app.EndProgram();
  }
  const std::vector<std::string> storeRootFiles = ListStoreRootFiles(run.files(), run.env().storeRootFolder);
  run.state.restoreFolder = ui.BrowseForFolder(run.Owner(), kRestoreFolderPrompt, "\\Mail", kFolderPickerFileSystemOnly);
  if (!HoldsBackupSet(run.files(), run.state.restoreFolder)) {
    if (run.state.restoreFolder.empty()) return RestoreEnd::Cancelled;
    run.Show({kNoBackupFoundText, kNoBackupFoundTitle, MsgIcon::Critical, MsgButtons::Ok, kNoBackupFoundHelpContext});
    return RestoreEnd::NoSet;
  }
  const BackupEnvironmentCheck check =
      CheckBackupEnvironment(run.files(), SetLayout(run.state.restoreFolder).InfoFile(), run.env().osFamily,
                             run.env().oeVersion, run.state.sameOsFamily);
  ui.Beep();
  if (check.match) {
    const MsgAnswer go = run.Show({
        "選択したユーザーにバックアップデータをリストアします。\r\n現在のデータは消去されます。\r\n"
        "新規にリストアする場合は、そのまま進んでください。",
        "リストア", MsgIcon::Information, MsgButtons::OkCancel, help::IDH_RESTORE_CONFIRM});
    if (go != MsgAnswer::Ok) return RestoreEnd::Cancelled;
  } else if (!ConfirmDifferentEnvironment(run, showBackupInfo, check.fields.value_or(std::vector<std::string>()))) {
    return RestoreEnd::Cancelled;
  }

  const RunGuard waiting = run.Waiting();  // the hourglass from here to the run's end
  // The set's mail is complete beside the Store Root before anything of the set is applied.
  StagedReplace staged(run.files(), run.env().storeRootFolder);
  bool mailReady = false;
  const MailData mail = FindMailData(run.files(), run.state.restoreFolder);
  if (HoldsBothMailForms(run.files(), run.state.restoreFolder))
    run.Show({std::string("このバックアップには Mail.lzh と Mail フォルダの両方があります。\r\n新しい方の ") +
                 (mail == MailData::Archive ? "Mail.lzh" : "Mail フォルダ") + " からリストアします。",
             "Vorn", MsgIcon::Information, MsgButtons::Ok, 0});
  switch (mail) {
    case MailData::Archive:
      if (!run.app.archiverAvailable) {
        run.Show({"メールデータ(Mail.Lzh)を解凍できません。\r\nUnlha32.DLLがシステムに見つかりませんでした。\r\n"
                 "リストアを中止します。",
                 "Vorn", MsgIcon::Critical, MsgButtons::Ok, help::IDH_ARCHIVER_MISSING});
        run.app.EndProgram();
      }
      mailReady = Melt(run, staged);
      break;
    case MailData::Copy: {
      const MailStoreOutcome copied =
          StageMailCopy(run.files(), run.app.platform.shell, run.Owner(), run.state.restoreFolder, staged);
      if (!copied.restored) TellMailNotRestored(run, copied);
      mailReady = copied.restored;
      break;
    }
    case MailData::None:
      run.Show({"メールデータが見つかりません。\r\n処理を中止します。", "ERROR", MsgIcon::Critical, MsgButtons::Ok, help::IDH_MAIL_DATA_MISSING});
      run.app.EndProgram();
  }
  if (!mailReady) return RestoreEnd::NotApplied;
  const WorkFolder work(run);
  if (run.state.workFolder.empty()) {
    run.Show({"一時フォルダ(TEMP)に作業用のフォルダを作れないため、リストアを中止します。", "Failed", MsgIcon::Critical,
             MsgButtons::Ok, 0});
    run.report.failures.push_back("一時フォルダに作業用のフォルダを作れませんでした");
    return RestoreEnd::NotApplied;
  }

  N_ReAccount(run);
  if (run.state.accountStepCancelled) return RestoreEnd::Cancelled;
  if (run.env().IsNt()) {
    ReOE(run);
    RestoreSignatureTexts(run);
  } else {
    PrepareSigFor98(run);
    ReOE(run);
  }
  const MailStoreOutcome committed = CommitMailStore(staged, storeRootFiles);
  if (!committed.restored) TellMailNotRestored(run, committed);
  ReWab(run);
  ReFavorites(run);
  RE_FavoOrder(run);
  RE_Remote(run);
  RE_Locations(run);

  const std::string report = RestoreReportText(run.report);
  if (!report.empty()) run.Show({report, "Vorn", MsgIcon::Warning, MsgButtons::Ok, 0});
  ui.Beep();
  run.app.FlashMainWindow();
  return RestoreEnd::Completed;
}

RestoreOutcome RunRestore(App& app, const ShowBackupInfo& showBackupInfo) {
  RestoreOutcome outcome;
  if (!CheckMailProgramBeforeRestore(app)) return outcome;
  outcome.started = true;
  RestoreState state;
  RestoreContext run(app, state);
  if (app.env.IsNt()) {
    outcome.end = ResMain(run, showBackupInfo);
    NormalizeSignatureTexts(app.reg, app.env.selectedIdentityGuid);
  } else if (app.env.osFamily == kFamily9x) {
    outcome.end = ResMain(run, showBackupInfo);
  }
  RepairReadOnlyFiles(app);
  outcome.report = std::move(run.report);
  return outcome;
}

}  // namespace vorn
