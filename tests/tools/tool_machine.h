#pragma once
// A simulated machine for the maintenance tools, with a file system that fails where a test asks.
#include <functional>
#include <string>

#include "core/environment_discovery.h"
#include "tests/support/sim_machine.h"
#include "core/run_context.h"

namespace vorn::test {

// The simulated file system with failures on demand: each hook, when set, may answer instead.
class FaultyFileSystem : public SimFileSystem {
 public:
  using SimFileSystem::SimFileSystem;
  std::function<std::optional<FsResult>(const std::string& from, const std::string& to)> onCopy, onMove;
  std::function<std::optional<FsResult>(const std::string& path)> onDelete;

  FsResult CopyFile(const std::string& from, const std::string& to, bool overwrite) override {
    if (onCopy)
      if (auto answer = onCopy(from, to)) return *answer;
    return SimFileSystem::CopyFile(from, to, overwrite);
  }
  FsResult MoveFile(const std::string& from, const std::string& to) override {
    if (onMove)
      if (auto answer = onMove(from, to)) return *answer;
    return SimFileSystem::MoveFile(from, to);
  }
  FsResult DeleteFile(const std::string& path) override {
    if (onDelete)
      if (auto answer = onDelete(path)) return *answer;
    return SimFileSystem::DeleteFile(path);
  }
  // Writes the first half of the file at `to`, as a copy broken off half way.
  void WriteHalfCopy(const std::string& from, const std::string& to) {
    auto in = OpenRead(from);
    std::string content(in->Size() / 2, '\0');
    in->Read(content.data(), content.size());
    auto out = OpenWrite(to);
    out->Write(content.data(), content.size());
    out->Close();
  }
};

class ToolMachine {
 public:
  explicit ToolMachine(bool nt = true)
      : m(nt),
        files(m.hostRoot),
        platform{m.registry, m.environment, files, m.processes, m.shell, m.ui, m.clock, m.registryEditor, m.archiver},
        app(platform) {
    DetectOsFamily(m.environment, app.env);
    DetectOsKind(m.environment, app.env);
    DetectDesktop(m.environment, app.env);
    LoadEnvironment(m.environment, app.reg, app.env);
  }
  // The tools' run, owned by the options window, on the file system that fails on demand.
  RunContext Context() { return RunContext(app, 0x1234); }
  std::string Read(const std::string& path) { return files.Exists(path) ? m.ReadFile(path) : "<missing>"; }

  SimMachine m;
  FaultyFileSystem files;
  Platform platform;
  App app;
};

}  // namespace vorn::test
