#pragma once
// ResMain: one restore of a backup set onto the identity picked in the main window. Asks for
// the set's user folder, checks that it holds a set and compares it with the running system,
// confirms with the user, then restores the identity's settings, the mail store, the address
// book, the Favorites and their order, dial-up and telephony, in that order.
#include <functional>
#include <string>
#include <vector>

#include "restore/restore_context.h"
#include "restore/staged_replace.h"

namespace vorn {

// What the run needs of the windows above it: the backup information dialog, shown modally
// with the fields of the set's information file (none when the set has no such file).
using ShowBackupInfo = std::function<void(const std::vector<std::string>& fields)>;

enum class RestoreEnd {
  Cancelled,  // the user's cancel, before anything was changed past the account step
  NoSet,      // the chosen folder holds no set
  NotApplied, // the set's mail could not be made ready, so nothing of the set was applied
  Completed,  // the normal end (see the report for what was not done)
};

inline constexpr unsigned kFolderPickerFileSystemOnly = 0x0001;  // BIF_RETURNONLYFSDIRS
inline constexpr const char* kRestoreFolderPrompt =
    "バックアップファイルがある,フォルダを指定して下さい。\r\n【 これからリストアするユーザー名のフォルダを選択 】";

struct RestoreOutcome {
  bool started = false;  // Outlook Express was not running, so the run began
  RestoreEnd end = RestoreEnd::Cancelled;
  RunReport report;
  bool Complete() const { return started && end == RestoreEnd::Completed && report.Complete(); }
};

// The restore entry of the main window's OK button: with Outlook Express not running, ResMain,
// then (2000 family) the signature texts made plain again and, whatever ResMain did, the
// repair of read-only mail and address book files.
RestoreOutcome RunRestore(App& app, const ShowBackupInfo& showBackupInfo);

RestoreEnd ResMain(RestoreContext& run, const ShowBackupInfo& showBackupInfo);
// Melt: the set's "Mail.lzh" unpacked whole into the staging folder beside the Store Root; R8 on
// failure.
bool Melt(RestoreContext& run, const StagedReplace& staged);
// The text of the run's closing report; empty when there is nothing to tell.
std::string RestoreReportText(const RunReport& report);

}  // namespace vorn
