#pragma once
// What every step of one restore run works with: the platform, the registry access layer, the
// environment record of the receiving user, the run's own state and what it has to report.
#include <string>
#include <vector>

#include "core/environment_record.h"
#include "core/registry_access.h"
#include "platform/platform.h"

namespace vorn {

struct RestoreState {
  std::string restoreFolder;  // the set's user folder; empty when the folder dialog was cancelled
  bool accountStepCancelled = false;
  bool sameOsFamily = false;
};

// What the run did not do as asked. The keys and failures are told once at its end; the mail
// store's failure is told when it happens.
struct RestoreReport {
  std::vector<std::string> skippedKeys;  // keys of the set's .reg files outside their export
  std::vector<std::string> failures;     // steps that were not done, with the reason
  bool mailNotRestored = false;
  void Skipped(const std::vector<std::string>& keys);
  bool Complete() const { return failures.empty() && !mailNotRestored; }
};

struct RestoreContext {
  Platform& platform;
  RegistryAccess& reg;
  const EnvironmentRecord& env;
  RestoreState& state;
  RestoreReport& report;
  std::string helpFile;    // the messages' Help button opens it
  WindowHandle owner = 0;  // the main window
  bool confirmCrossFamilyRestore = true;  // the setting "Message"
  bool archiverAvailable = false;         // start-up found the archiver library

  FileSystem& files() { return platform.files; }
  std::string RegFolder() const { return state.restoreFolder + "\\Reg"; }
  // A message box owned by the main window; helpContext 0 has no Help button.
  MsgAnswer Show(const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons,
                 int helpContext, bool foreground = false);
};

}  // namespace vorn
