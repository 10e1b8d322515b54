#include "restore/restore_run.h"

#include <cstdio>

#include "backup/mail_program_checks.h"
#include "backup/signature_texts.h"

#include "core/help_contexts.h"
#include "restore/address_book_restore.h"
#include "restore/dialup_restore.h"
#include "restore/environment_check.h"
#include "restore/favorites_restore.h"
#include "restore/mail_store_restore.h"
#include "restore/registry_restore.h"
#include "restore/set_reading.h"

namespace vorn {
namespace {

constexpr size_t kReportedLines = 20;

// R4 and, when the user asks for the details, the backup information dialog and R5. False
// when the user does not want to go on.
bool ConfirmDifferentEnvironment(RestoreContext& run, const ShowBackupInfo& showBackupInfo,
                                 const std::vector<std::string>& fields) {
  if (run.app.settings.confirmCrossFamilyRestore != 1) return true;
  const MsgAnswer details = run.Show(
      "バックアップデータは、現在のOSまたは、Outlook Expressのバージョンと\r\n異なっています。詳細を確認しますか？",
      "確認", MsgIcon::Question, MsgButtons::YesNo, help::IDH_ENVIRONMENT_DIFFERS);
  if (details != MsgAnswer::Yes) return true;
  if (showBackupInfo) showBackupInfo(fields);
  return run.Show("リストアを続行しますか", "Vorn", MsgIcon::Question, MsgButtons::YesNo, 0) == MsgAnswer::Yes;
}

void TellMailNotRestored(RestoreContext& run, const MailStoreOutcome& outcome) {
  run.report.mailProblem = outcome.problem;
  if (outcome.archiverResult != 0) {
    char code[16];
    std::snprintf(code, sizeof code, "%X", static_cast<unsigned>(outcome.archiverResult));
    run.Show(std::string("解凍に失敗しました。Error Code:0x") + code, "Failed", MsgIcon::Critical, MsgButtons::Ok, 0);
    return;
  }
  run.Show("メールデータをリストアできませんでした。\r\n現在のメールデータはそのまま残っています。", "Failed",
           MsgIcon::Critical, MsgButtons::Ok, 0);
}

void AppendList(std::string& text, const std::string& heading, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  if (!text.empty()) text += "\r\n\r\n";
  text += heading;
  for (size_t i = 0; i < lines.size() && i < kReportedLines; ++i) text += "\r\n" + lines[i];
  if (lines.size() > kReportedLines) text += "\r\nほか " + std::to_string(lines.size() - kReportedLines) + " 件";
}

// The plain copy of the set's "Mail" folder, made beside the Store Root, then in its place.
void CopyMailStore(RestoreContext& run, const std::vector<std::string>& storeRootFiles) {
  const MailStoreOutcome outcome = RestoreMailCopy(run.files(), run.app.platform.shell, run.Owner(),
                                                   run.state.restoreFolder, run.env().storeRootFolder, storeRootFiles);
  if (!outcome.restored) TellMailNotRestored(run, outcome);
}

}  // namespace

std::string RestoreReportText(const RestoreReport& report) {
  std::string text;
  AppendList(text, "バックアップの範囲外のため、次のキーは取り込みませんでした:", report.skippedKeys);
  AppendList(text, "次の処理はできませんでした:", report.failures);
  return text;
}

void Melt(RestoreContext& run, const std::vector<std::string>& storeRootFiles) {
  const MailStoreOutcome outcome = RestoreMailArchive(run.files(), run.app.platform.archiver, run.Owner(),
                                                      run.state.restoreFolder, run.env().storeRootFolder, storeRootFiles);
  if (!outcome.restored) TellMailNotRestored(run, outcome);
}

RestoreEnd ResMain(RestoreContext& run, const ShowBackupInfo& showBackupInfo) {
  UiServices& ui = run.app.platform.ui;
  run.state.accountStepCancelled = false;
  if (run.env().storeRootFolder.empty()) {
    run.Show("Store Root が見つかりません。\r\n一度 Outlook Expressを起動させる必要があります。", "注意", MsgIcon::None,
             MsgButtons::Ok, help::IDH_STORE_ROOT_MISSING);
    run.app.EndProgram();
  }
  const std::vector<std::string> storeRootFiles = ListStoreRootFiles(run.files(), run.env().storeRootFolder);
  run.state.restoreFolder = ui.BrowseForFolder(run.Owner(), kRestoreFolderPrompt, "\\Mail", kFolderPickerFileSystemOnly);
  if (!HoldsBackupSet(run.files(), run.state.restoreFolder)) {
    if (run.state.restoreFolder.empty()) return RestoreEnd::Cancelled;
    run.Show(kNoBackupFoundText, kNoBackupFoundTitle, MsgIcon::Critical, MsgButtons::Ok, kNoBackupFoundHelpContext);
    return RestoreEnd::NoSet;
  }
  const BackupEnvironmentCheck check =
      CheckBackupEnvironment(run.files(), BackupInfoPath(run.state.restoreFolder), run.env().osFamily,
                             run.env().oeVersion, run.state.sameOsFamily);
  ui.Beep();
  if (check.match) {
    const MsgAnswer go = run.Show(
        "選択したユーザーにバックアップデータをリストアします。\r\n現在のデータは消去されます。\r\n"
        "新規にリストアする場合は、そのまま進んでください。",
        "リストア", MsgIcon::Information, MsgButtons::OkCancel, help::IDH_RESTORE_CONFIRM);
    if (go != MsgAnswer::Ok) return RestoreEnd::Cancelled;
  } else if (!ConfirmDifferentEnvironment(run, showBackupInfo, check.fields.value_or(std::vector<std::string>()))) {
    return RestoreEnd::Cancelled;
  }

  const RunGuard waiting(run.app.runState);  // the hourglass from here to the run's end
  N_ReAccount(run);
  if (run.state.accountStepCancelled) return RestoreEnd::Cancelled;
  if (run.env().IsNt()) {
    ReOE(run);
    RestoreSignatureTexts(run);
  } else {
    PrepareSigFor98(run);
    ReOE(run);
  }
  // The new store replaces the old one only once it is complete (what DelFiles removes goes then).
  switch (FindMailData(run.files(), run.state.restoreFolder)) {
    case MailData::Archive:
      if (!run.app.archiverAvailable) {
        run.Show("メールデータ(Mail.Lzh)を解凍できません。\r\nUnlha32.DLLがシステムに見つかりませんでした。\r\n"
                 "リストアを中止します。",
                 "Vorn", MsgIcon::Critical, MsgButtons::Ok, help::IDH_ARCHIVER_MISSING);
        run.app.EndProgram();
      }
      Melt(run, storeRootFiles);
      break;
    case MailData::Copy:
      CopyMailStore(run, storeRootFiles);
      break;
    case MailData::None:
      run.Show("メールデータが見つかりません。\r\n処理を中止します。", "ERROR", MsgIcon::Critical, MsgButtons::Ok, help::IDH_MAIL_DATA_MISSING);
      run.app.EndProgram();
  }
  ReWab(run);
  ReFavorites(run);
  RE_FavoOrder(run);
  RE_Remote(run);
  RE_Locations(run);

  const std::string report = RestoreReportText(run.report);
  if (!report.empty()) run.Show(report, "Vorn", MsgIcon::Warning, MsgButtons::Ok, 0);
  ui.Beep();
  run.app.FlashMainWindow();
  return RestoreEnd::Completed;
}

RestoreOutcome RunRestore(App& app, const ShowBackupInfo& showBackupInfo) {
  RestoreOutcome outcome;
  if (!CheckMailProgramBeforeRestore(app)) return outcome;
  outcome.started = true;
  RestoreState state;
  RestoreContext run{app, state, outcome.report};
  if (app.env.IsNt()) {
    outcome.end = ResMain(run, showBackupInfo);
    NormalizeSignatureTexts(app.reg, app.env.selectedIdentityGuid);
  } else if (app.env.osFamily == kFamily9x) {
    outcome.end = ResMain(run, showBackupInfo);
  }
  RepairReadOnlyFiles(app);
  return outcome;
}

}  // namespace vorn
