#pragma once
// What a run or a maintenance tool works with: the program's state, the window that owns its
// messages, pickers and progress windows, what it did not do as asked, and the values it reads
// again as it goes.
#include <optional>
#include <string>
#include <vector>

#include "core/app.h"

namespace vorn {

// What a run did not do as asked: told once at its end (the mail store's failure also when it
// happens). A run is complete only when every list is empty.
struct RunReport {
  std::vector<std::string> skippedKeys;       // keys of the set's .reg files outside their export
  std::vector<std::string> refusedDeletions;  // deletions of keys or values a set's file asked for
  std::vector<std::string> failures;          // steps that were not done, with the reason
  std::string mailProblem;                    // why the mail store was not restored; empty when it was
  void Skipped(const std::vector<std::string>& keys);
  bool Complete() const {
    return skippedKeys.empty() && refusedDeletions.empty() && failures.empty() && mailProblem.empty();
  }
};

class RunContext {
 public:
  // A run of the main window, which owns what the run shows.
  explicit RunContext(App& app) : app(app) {}
  // A run of another window: the options window's tools and scan.
  RunContext(App& app, WindowHandle owner) : app(app), owner_(owner) {}

  App& app;
  RunReport report;

  FileSystem& files() const { return app.platform.files; }
  EnvironmentRecord& env() const { return app.env; }
  WindowHandle Owner() const { return owner_ ? *owner_ : app.MainWindow().owner; }
  // A modal message box owned by Owner(); with a help context, also a Help button on the help file.
  MsgAnswer Show(const Message& message) const;
  // The hourglass for as long as the guard lives, the run marked as going meanwhile.
  RunGuard Waiting() const { return RunGuard(app.runState); }

  // Read afresh on purpose at each step that depends on one: the step does what the main
  // window's menus say when it comes.
  MenuSwitches Switches() const { return app.MainWindow().switches; }
  // The identity subkeys as the main window's user list holds them now.
  std::vector<std::string> ListedIdentities() const { return app.MainWindow().identitySubkeys; }
  // "SV_Int" as stored now, read afresh on purpose by each step that places files at the
  // destination: 1 when the user picked the destination, otherwise 0.
  int DestinationChoice() const { return ReadStoredDestinationChoice(app.reg); }
  // "BackUp Path" as stored now, read afresh on purpose where the set's information file names it.
  std::string StoredBackupPath() const { return ReadStoredBackupPath(app.reg); }

 private:
  std::optional<WindowHandle> owner_;  // none: the main window, asked each time
};

}  // namespace vorn
