#pragma once
// What the maintenance tools of the options window work with: the platform's services, the
// environment record they read and update, and the window that owns their dialogs.
#include <string>

#include "core/app.h"
#include "core/environment_record.h"
#include "core/registry_access.h"
#include "core/run_guard.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/ui_services.h"

namespace vorn {

struct MaintenanceContext {
  RegistryAccess& reg;
  FileSystem& files;
  const Processes& processes;
  const Environment& environment;
  UiServices& ui;
  RunState& runState;  // the tool's run, which shows the hourglass through a RunGuard
  EnvironmentRecord& env;
  WindowHandle owner = 0;  // the options window
  std::string helpFile;

  // A message box owned by the options window; with a help context, also a Help button.
  MsgAnswer Show(const Message& message) { return ui.ShowMessage(MessageBoxOf(message, helpFile, owner)); }
};

}  // namespace vorn
