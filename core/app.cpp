#include "core/app.h"

#include <cstdlib>

#include "core/environment_discovery.h"
#include "core/run_context.h"

namespace vorn {

App::App(Platform& platform) : platform(platform), reg(platform.registry), runState(platform.ui) {}

MainWindowState App::MainWindow() const {
  MainWindowState state;
  if (fillMainWindowState) fillMainWindowState(state);
  return state;
}

void App::EndProgram() {
  platform.ui.EndProgram();
  std::abort();  // the service never returns; this keeps the promise if one ever did
}

bool App::FileExists(const std::string& path) const { return vorn::FileExists(platform.environment, path); }

MsgAnswer App::ShowMessage(const Message& message) {
  return RunContext(*this).Show(message);
}

void App::FlashMainWindow() {
  platform.ui.Beep();
  platform.ui.Flash(MainWindow().owner);
}

}  // namespace vorn
