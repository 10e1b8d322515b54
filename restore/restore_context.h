#pragma once
// What every step of one restore run works with: the program's run state (platform, registry
// access, the receiving user's environment record), the restore's own state and its report.
#include <optional>
#include <string>
#include <vector>

#include "core/app.h"
#include "set/set_layout.h"

namespace vorn {

struct RestoreState {
  std::string restoreFolder;  // the set's user folder; empty when the folder dialog was cancelled
  std::string workFolder;     // the run's own folder for the files it derives from the set's
  std::optional<std::string> signaturesFor98;  // Sig.reg as PrepareSigFor98 made it ready
  bool accountStepCancelled = false;
  bool sameOsFamily = false;
};

// What the run did not do as asked: told once at its end (the mail store's failure also when it
// happens). A run is complete only when every list is empty.
struct RestoreReport {
  std::vector<std::string> skippedKeys;  // keys of the set's .reg files outside their export
  std::vector<std::string> refusedDeletions;  // deletions of keys or values a set's file asked for
  std::vector<std::string> failures;     // steps that were not done, with the reason
  std::string mailProblem;                // why the mail store was not restored; empty when it was
  void Skipped(const std::vector<std::string>& keys);
  bool Complete() const {
    return skippedKeys.empty() && refusedDeletions.empty() && failures.empty() && mailProblem.empty();
  }
};

struct RestoreContext {
  App& app;
  RestoreState& state;
  RestoreReport& report;

  FileSystem& files() { return app.platform.files; }
  const EnvironmentRecord& env() const { return app.env; }
  std::string RegFolder() const { return SetLayout(state.restoreFolder).RegFolder(); }
  // Where a derived file goes: never into the set, which stays as the backup made it.
  std::string WorkFile(const std::string& name) const { return state.workFolder + "\\" + name; }
  WindowHandle Owner() const { return app.MainWindow().owner; }
  // A message box owned by the main window; helpContext 0 has no Help button.
  MsgAnswer Show(const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons,
                 int helpContext, bool foreground = false) {
    return app.ShowMessage({text, title, icon, buttons, helpContext, foreground});
  }
};

}  // namespace vorn
