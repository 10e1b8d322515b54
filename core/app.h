#pragma once
// The state of one run of the program: the platform, the environment record, the settings and
// the start-up's findings, and the main window as the layers below the windows see it.
#include <functional>
#include <string>

#include "core/environment_record.h"
#include "core/help_contexts.h"
#include "core/main_window_state.h"
#include "core/registry_access.h"
#include "core/run_guard.h"
#include "core/settings.h"
#include "platform/platform.h"

namespace vorn {

// A message box of the program: a Japanese text, a title, an icon, buttons and, with a help
// context, a Help button that opens the help file at that context.
struct Message {
  std::string text;
  std::string title;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  int helpContext = 0;  // 0: no Help button
  bool foreground = false;  // brought to the foreground when shown
};

class App {
 public:
  explicit App(Platform& platform);
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  Platform& platform;
  RegistryAccess reg;
  EnvironmentRecord env;
  Settings settings;
  bool archiverAvailable = false;
  bool imagehlpPresent = false;
  bool extraListFlag = false;
  // Whether a run is under way (RunGuard); the windows take no input of their own meanwhile.
  RunState runState;

  // Filled by the main window while it exists (Form1 sets it); unset, a state without a window.
  std::function<void(MainWindowState&)> fillMainWindowState;
  MainWindowState MainWindow() const;

  std::string ProgramFolder() const { return platform.environment.ProgramFolder(); }
  std::string HelpFile() const { return ProgramFolder() + "\\Vorn4.chm"; }
  bool FileExists(const std::string& path) const;
  // A modal message box owned by the main window.
  MsgAnswer ShowMessage(const Message& message);
  // The beep and three flashes of the main window's caption that end a backup or a restore.
  void FlashMainWindow();
  // Closes the main window and ends the program.
  [[noreturn]] void EndProgram();
};

}  // namespace vorn
