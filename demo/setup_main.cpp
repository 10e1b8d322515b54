// demo_setup.exe MACHINE-FILE SOURCE-FOLDER...: applies a machine description to the
// Windows (or Wine prefix) it runs on. Paths are Windows paths.
#include <cstdio>

#include "demo/machine_description.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry_store.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/wide_text.h"

namespace {

std::string ReadAll(vorn::FileSystem& files, const std::string& path) {
  std::string text;
  auto in = files.OpenRead(path);
  if (!in) return text;
  char buffer[4096];
  while (auto n = in->Read(buffer, sizeof buffer)) {
    if (*n == 0) break;
    text.append(buffer, *n);
  }
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: demo_setup MACHINE-FILE SOURCE-FOLDER...\n");
    return 2;
  }
  vorn::Win32FileSystem files;
  vorn::Win32RegistryStore registry;
  vorn::Win32Environment environment;
  const std::string machineFile = vorn::Narrow(argv[1]);
  if (!files.Exists(machineFile)) {
    std::fprintf(stderr, "demo_setup: cannot read %s\n", machineFile.c_str());
    return 1;
  }
  std::vector<std::string> sourceFolders;
  for (int i = 2; i < argc; ++i) sourceFolders.push_back(vorn::Narrow(argv[i]));

  // The family is the one the system reports (in a Wine prefix: its Version setting).
  auto version = environment.OsVersion();
  auto family = version && version->platformId != 2 ? vorn::demo::MachineFamily::Windows9x
                                                     : vorn::demo::MachineFamily::Nt;
  auto machine = vorn::demo::ParseMachineDescription(
      ReadAll(files, machineFile), [&](const std::string& name) { return environment.Variable(name).value_or(""); },
      family);
  auto failures = machine.errors;
  if (failures.empty()) failures = vorn::demo::ApplyMachine(machine, registry, files, sourceFolders);
  for (const auto& failure : failures) std::fprintf(stderr, "demo_setup: %s\n", failure.c_str());
  return failures.empty() ? 0 : 1;
}
