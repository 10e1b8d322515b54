#pragma once
// ResMain: one restore of a backup set onto the identity picked in the main window. Asks for
// the set's user folder, checks that it holds a set and compares it with the running system,
// confirms with the user, then restores the identity's settings, the mail store, the address
// book, the Favorites and their order, dial-up and telephony, in that order.
#include <functional>
#include <string>
#include <vector>

#include "restore/restore_context.h"

namespace vorn {

// What the run needs of the windows above it.
struct RestoreWindow {
  // Shows the backup information dialog modally with the set's information file fields (empty
  // when the set has none).
  std::function<void(const std::vector<std::string>& fields)> showBackupInfo;
  // The main window's completion signal.
  std::function<void()> flash;
  // Closes the main window and ends the program.
  std::function<void()> endProgram;
};

enum class RestoreEnd {
  Cancelled,  // the user's cancel, before anything was changed past the account step
  NoSet,      // the chosen folder holds no set
  Completed,  // the normal end (see the report for what was not done)
};

inline constexpr unsigned kFolderPickerFileSystemOnly = 0x0001;  // BIF_RETURNONLYFSDIRS
inline constexpr const char* kRestoreFolderPrompt =
    "バックアップファイルがある,フォルダを指定して下さい。\r\n【 これからリストアするユーザー名のフォルダを選択 】";

RestoreEnd ResMain(RestoreContext& run, const RestoreWindow& window);
// The mail store step: Melt from "Mail.lzh" or the plain copy of "Mail", each staged.
// False when the set holds no mail data at all.
bool RestoreMailStore(RestoreContext& run, const RestoreWindow& window, const std::vector<std::string>& storeRootFiles);
// The text of the run's closing report; empty when there is nothing to tell.
std::string RestoreReportText(const RestoreReport& report);

}  // namespace vorn
