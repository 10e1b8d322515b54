// vorn-cli backup: the backup run of this machine's Outlook Express user, without windows.
#include <ostream>

#include "cli/backup_command.h"
#include "cli/cli.h"
#include "cli/exit_codes.h"

#ifdef _WIN32
#include "cli/unattended_ui.h"
#include "platform/win32/win32_platform.h"
#include "ui/program.h"
#endif

namespace vorn::cli {

#ifdef _WIN32
int RunBackupArea(Context& context, const std::vector<std::string>& args) {
  UnattendedUi ui(context.err);
  Win32Platform windows(ui);
  NoFormHost host;
  Program program(windows.platform, host);
  return BackupCommand(program, args, context.err);
}
#else
int RunBackupArea(Context& context, const std::vector<std::string>&) {
  context.err << "vorn-cli backup: backs up the Windows machine it runs on; use the Windows build\n";
  return kExitUsage;
}
#endif

}  // namespace vorn::cli
