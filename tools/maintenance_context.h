#pragma once
// What the maintenance tools of the options window work with: the platform's services, the
// environment record they read and update, and the window that owns their dialogs.
#include <string>

#include "core/environment_record.h"
#include "core/registry_access.h"
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
  EnvironmentRecord& env;
  WindowHandle owner = 0;  // the options window
  std::string helpFile;

  // A message box owned by the options window; with a help context, also a Help button.
  MsgAnswer Message(const std::string& text, const std::string& title, MsgIcon icon,
                    MsgButtons buttons = MsgButtons::Ok, int helpContext = 0) {
    MessageSpec message;
    message.text = text;
    message.title = title;
    message.icon = icon;
    message.buttons = buttons;
    message.helpButton = helpContext != 0;
    message.helpFile = helpContext != 0 ? helpFile : std::string();
    message.helpContext = helpContext;
    message.owner = owner;
    return ui.ShowMessage(message);
  }
};

}  // namespace vorn
