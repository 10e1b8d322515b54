#include "core/run_context.h"

#include <algorithm>

namespace vorn {
namespace {

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

}  // namespace

void RunReport::Skipped(const std::vector<std::string>& keys) {
  for (const auto& key : keys)
    if (std::find(skippedKeys.begin(), skippedKeys.end(), key) == skippedKeys.end()) skippedKeys.push_back(key);
}

MsgAnswer RunContext::Show(const Message& message) const {
  return app.platform.ui.ShowMessage(MessageBoxOf(message, app.HelpFile(), Owner()));
}

}  // namespace vorn
