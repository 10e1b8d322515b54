#pragma once
// The program on this machine's Win32 platform with unattended services (messages to standard
// error, no windows), for the areas that run the program's runs: backup and restore.
#include <functional>

#include "cli/cli.h"
#include "cli/unattended_ui.h"
#include "platform/win32/win32_platform.h"
#include "ui/program.h"

namespace vorn::cli {

inline int RunUnattended(Context& context, const std::function<int(Program&, UnattendedUi&)>& command) {
  UnattendedUi ui(context.err);
  Win32Platform windows(ui);
  NoFormHost host;
  Program program(windows.platform, host);
  return command(program, ui);
}

}  // namespace vorn::cli
