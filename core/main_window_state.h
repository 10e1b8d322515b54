#pragma once
// What the runs and tools below the windows read of the main window. The window fills it
// whenever it is asked (see App::MainWindow), so nothing below ui/ includes a form.
#include <string>
#include <vector>

#include "core/settings.h"
#include "platform/window_handle.h"

namespace vorn {

struct MainWindowState {
  // The main window: owner of the messages, pickers and progress windows of a run; 0 before it exists.
  WindowHandle owner = 0;
  // The switches the main window's menu items hold.
  MenuSwitches switches;
  // Every identity subkey, in the order of the window's user list (the main identity first).
  std::vector<std::string> identitySubkeys;
};

}  // namespace vorn
