#pragma once
// What every step of one restore run works with: the run's context (the program's state, the
// main window as owner, the report) and the restore's own state.
#include <optional>
#include <string>

#include "core/run_context.h"
#include "set/set_layout.h"

namespace vorn {

struct RestoreState {
  std::string restoreFolder;  // the set's user folder; empty when the folder dialog was cancelled
  std::string workFolder;     // the run's own folder for the files it derives from the set's
  std::optional<std::string> signaturesFor98;  // Sig.reg as PrepareSigFor98 made it ready
  bool accountStepCancelled = false;
  bool sameOsFamily = false;
};

struct RestoreContext : RunContext {
  RestoreContext(App& app, RestoreState& state) : RunContext(app), state(state) {}

  RestoreState& state;

  std::string RegFolder() const { return SetLayout(state.restoreFolder).RegFolder(); }
  // Where a derived file goes: never into the set, which stays as the backup made it.
  std::string WorkFile(const std::string& name) const { return state.workFolder + "\\" + name; }
};

}  // namespace vorn
