#include "core/app.h"

#include <cstdlib>

#include "core/environment_discovery.h"

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

MessageSpec MessageBoxOf(const Message& message, const std::string& helpFile, WindowHandle owner) {
  MessageSpec spec;
  spec.text = message.text;
  spec.title = message.title;
  spec.icon = message.icon;
  spec.buttons = message.buttons;
  if (message.helpContext != 0) {
    spec.helpButton = true;
    spec.helpFile = helpFile;
    spec.helpContext = message.helpContext;
  }
  spec.owner = owner;
  spec.foreground = message.foreground;
  return spec;
}

MsgAnswer App::ShowMessage(const Message& message) {
  return platform.ui.ShowMessage(MessageBoxOf(message, HelpFile(), MainWindow().owner));
}

void App::FlashMainWindow() {
  platform.ui.Beep();
  platform.ui.Flash(MainWindow().owner);
}

}  // namespace vorn
