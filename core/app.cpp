#include "core/app.h"

#include <cstdlib>

#include "core/environment_discovery.h"
#include "ui/form1.h"

namespace vorn {

App::App(Platform& platform, FormHost& host)
    : platform(platform), host(host), reg(platform.registry), form1_(std::make_unique<Form1>(*this)) {}

App::~App() = default;

void App::EndProgram() {
  platform.ui.EndProgram();
  std::abort();  // the service never returns; this keeps the promise if one ever did
}

bool App::FileExists(const std::string& path) const { return vorn::FileExists(platform.environment, path); }

MsgAnswer App::ShowMessage(const Message& message) {
  MessageSpec spec;
  spec.text = message.text;
  spec.title = message.title;
  spec.icon = message.icon;
  spec.buttons = message.buttons;
  spec.helpButton = true;
  spec.helpFile = HelpFile();
  spec.helpContext = message.helpContext;
  spec.owner = form1_->hwnd;
  return platform.ui.ShowMessage(spec);
}

}  // namespace vorn
