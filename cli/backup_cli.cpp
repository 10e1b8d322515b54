// vorn-cli backup: the backup run of this machine's Outlook Express user, without windows.
#include <ostream>

#include "cli/backup_command.h"
#include "cli/cli.h"
#include "cli/exit_codes.h"

#ifdef _WIN32
#include "cli/unattended_program.h"
#endif

namespace vorn::cli {

int RunBackupArea(Context& context, const std::vector<std::string>& args) {
#ifdef _WIN32
  return RunUnattended(context, [&](Program& program, UnattendedUi&) { return BackupCommand(program, args, context.err); });
#else
  (void)args;
  context.err << "vorn-cli backup: backs up the Windows machine it runs on; use the Windows build\n";
  return kExitUsage;
#endif
}

}  // namespace vorn::cli
