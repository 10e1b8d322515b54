// vorn-cli restore: a backup set restored onto one of this machine's Outlook Express users,
// without windows.
#include <ostream>

#include "cli/cli.h"
#include "cli/exit_codes.h"
#include "cli/restore_command.h"

#ifdef _WIN32
#include "cli/unattended_program.h"
#endif

namespace vorn::cli {

int RunRestoreArea(Context& context, const std::vector<std::string>& args) {
#ifdef _WIN32
  return RunUnattended(context, [&](Program& program, UnattendedUi& ui) {
    return RestoreCommand(program, ui, args, context.programPath, context.err);
  });
#else
  (void)args;
  context.err << "vorn-cli restore: restores onto the Windows machine it runs on; use the Windows build\n";
  return kExitUsage;
#endif
}

}  // namespace vorn::cli
