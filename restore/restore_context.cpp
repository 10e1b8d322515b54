#include "restore/restore_context.h"

#include <algorithm>

namespace vorn {

void RestoreReport::Skipped(const std::vector<std::string>& keys) {
  for (const auto& key : keys)
    if (std::find(skippedKeys.begin(), skippedKeys.end(), key) == skippedKeys.end()) skippedKeys.push_back(key);
}

MsgAnswer RestoreContext::Show(const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons,
                               int helpContext, bool foreground) {
  MessageSpec spec;
  spec.text = text;
  spec.title = title;
  spec.icon = icon;
  spec.buttons = buttons;
  spec.helpButton = helpContext != 0;
  if (spec.helpButton) {
    spec.helpFile = helpFile;
    spec.helpContext = helpContext;
  }
  spec.owner = owner;
  spec.foreground = foreground;
  return platform.ui.ShowMessage(spec);
}

}  // namespace vorn
