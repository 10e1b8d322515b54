// vorn-cli backup: the backup run of this machine's Outlook Express user, without windows.
#include "backup/backup_command.h"
#include "cli/cli.h"

#ifdef _WIN32
#include "backup/unattended_ui.h"
#include "core/app.h"
#include "regedit/reg_file_editor.h"
#include "platform/win32/win32_archiver.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry_store.h"
#include "platform/win32/win32_shell.h"
#endif

#include <ostream>

namespace vorn::cli {

#ifdef _WIN32
int RunBackupArea(Context& context, const std::vector<std::string>& args) {
  Win32RegistryStore registry;
  Win32Environment environment;
  Win32FileSystem files;
  Win32Processes processes;
  Win32Shell shell(true);
  UnattendedUi ui(context.err);
  Win32Clock clock;
  const App* running = nullptr;  // the editor writes the dialect of the family start-up finds
  RegFileEditor registryEditor(registry, files,
                               [&running] { return DialectForOsFamily(running ? running->env.osFamily : ""); });
  Win32Archiver archiver;
  Platform platform{registry, environment, files, processes, shell, ui, clock, registryEditor, archiver};
  NoFormHost host;
  App app(platform, host);
  running = &app;
  return BackupCommand(app, args, context.err);
}
#else
int RunBackupArea(Context& context, const std::vector<std::string>&) {
  context.err << "vorn-cli backup: backs up the Windows machine it runs on; use the Windows build\n";
  return kBackupUsage;
}
#endif

}  // namespace vorn::cli
