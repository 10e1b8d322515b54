#pragma once
// What the backup and restore benchmarks share: a simulated Windows XP machine over a host
// folder with Outlook Express users, the program's own editor and archiver, and unattended
// services; a generated mail store; and a timer.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

#include "cli/unattended_ui.h"
#include "platform/platform.h"
#include "platform/sim/sim_archiver.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_environment.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry_store.h"
#include "platform/sim/sim_shell.h"
#include "regedit/reg_file_editor.h"
#include "ui/program.h"

namespace vorn::bench {

inline constexpr int kStoreFiles = 10;
inline constexpr int kRounds = 3;

// megabytes of mail-like text (headers and bodies from a small vocabulary, so it packs as mail
// does) in kStoreFiles folder files, the first of them "Folders.dbx".
void WriteStore(const std::filesystem::path& folder, uint64_t megabytes, unsigned seed = 0);

// The time the work takes, started from written-back files so that one run's writes do not
// slow the next one down.
double Seconds(const std::function<void()>& work);

struct BenchMachine {
  explicit BenchMachine(const std::filesystem::path& root);
  // An Outlook Express user with its Store Root (created); the first one is the main user.
  void AddUser(const std::string& guid, const std::string& name, const std::string& storeRoot);

  SimRegistryStore registry;
  SimFileSystem files;
  SimEnvironment environment;
  SimProcesses processes;
  SimShell shell;
  RegFileEditor editor;
  SimArchiver archiver;
  std::ostringstream messages;
  cli::UnattendedUi ui;
  SimClock clock;
  Platform platform;
  cli::NoFormHost host;
};

// Starts the program on the machine as vorn.exe starts, and picks the mode and the user in its
// main window as a user does before pressing OK.
Form1& PickInMainWindow(Program& program, int mode, int user);

// The baseline of a run that copies a store: every folder file of it into a fresh folder.
double PlainCopySeconds(BenchMachine& machine, const std::string& store);

}  // namespace vorn::bench
