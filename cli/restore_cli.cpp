// vorn-cli restore: a backup set restored onto one of this machine's Outlook Express users,
// without windows.
#include <ostream>

#include "cli/cli.h"
#include "cli/exit_codes.h"
#include "cli/restore_command.h"

#ifdef _WIN32
#include "cli/unattended_ui.h"
#include "platform/win32/win32_platform.h"
#include "ui/program.h"
#endif

namespace vorn::cli {

#ifdef _WIN32
int RunRestoreArea(Context& context, const std::vector<std::string>& args) {
  UnattendedUi ui(context.err);
  Win32Platform windows(ui);
  NoFormHost host;
  Program program(windows.platform, host);
  return RestoreCommand(program, ui, args, context.programPath, context.err);
}
#else
int RunRestoreArea(Context& context, const std::vector<std::string>&) {
  context.err << "vorn-cli restore: restores onto the Windows machine it runs on; use the Windows build\n";
  return kExitUsage;
}
#endif

}  // namespace vorn::cli
