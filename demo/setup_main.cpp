// demo_setup.exe MACHINE-FILE SOURCE-FOLDER...: applies a machine description to the
// Windows (or Wine prefix) it runs on. Paths are Windows paths.
#include <cstdio>

#include "demo/machine_description.h"
#include "platform/whole_file.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: demo_setup MACHINE-FILE SOURCE-FOLDER...\n");
    return 2;
  }
  vorn::Win32Platform windows;
  const std::string machineFile = vorn::Narrow(argv[1]);
  const auto text = vorn::ReadWholeFile(windows.files, machineFile);
  if (!text) {
    std::fprintf(stderr, "demo_setup: cannot read %s\n", machineFile.c_str());
    return 1;
  }
  std::vector<std::string> sourceFolders;
  for (int i = 2; i < argc; ++i) sourceFolders.push_back(vorn::Narrow(argv[i]));

  // The family is the one the system reports (in a Wine prefix: its Version setting).
  auto version = windows.environment.OsVersion();
  auto family = version && version->platformId != 2 ? vorn::demo::MachineFamily::Windows9x
                                                     : vorn::demo::MachineFamily::Nt;
  auto machine = vorn::demo::ParseMachineDescription(
      *text, [&](const std::string& name) { return windows.environment.Variable(name).value_or(""); }, family);
  auto failures = machine.errors;
  if (failures.empty()) failures = vorn::demo::ApplyMachine(machine, windows.registry, windows.files, sourceFolders);
  for (const auto& failure : failures) std::fprintf(stderr, "demo_setup: %s\n", failure.c_str());
  return failures.empty() ? 0 : 1;
}
