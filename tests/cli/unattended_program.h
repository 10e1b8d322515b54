#pragma once
// The program on a simulated machine with unattended services, as vorn-cli runs it.
#include <ostream>

#include "cli/unattended_ui.h"
#include "tests/support/sim_machine.h"

namespace vorn::cli {

struct UnattendedProgram {
  UnattendedProgram(SimMachine& m, std::ostream& err)
      : ui(err),
        platform{m.registry, m.environment, m.files, m.processes, m.shell, ui, m.clock, m.registryEditor, m.archiver},
        program(platform, host) {}
  UnattendedUi ui;
  NoFormHost host;
  Platform platform;
  Program program;
};

}  // namespace vorn::cli
