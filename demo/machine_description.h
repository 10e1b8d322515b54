#pragma once
// A machine described as text: registry values, folders, text files and copied files.
// demo/machine.txt describes the syntax; the demo set-up tool applies it to a Wine prefix
// and the tests apply it to the simulated platform.
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "platform/file_system.h"
#include "platform/registry_store.h"

namespace vorn::demo {

struct RegistryWrite {
  RegRoot root;
  std::string keyPath;
  std::string valueName;
  RegValue value;
};
struct FolderCreate {
  std::string path;
};
struct TextFileWrite {
  std::string path;
  std::vector<std::string> lines;  // UTF-8; written in code page 932 with CR LF
};
struct FileCopy {
  std::string sourceName;  // looked up in the source folders, unless it is a full path
  std::string targetPath;
};
using MachineStep = std::variant<RegistryWrite, FolderCreate, TextFileWrite, FileCopy>;

struct MachineDescription {
  std::vector<MachineStep> steps;
  std::vector<std::string> errors;  // "line N: ..."; the steps are complete only when empty
};

// The Windows family of the machine being set up: lines tagged "nt:" or "9x:" apply to that one only.
enum class MachineFamily { Nt, Windows9x };

// `variable` answers ${NAME}; its answer replaces the reference in paths and texts.
MachineDescription ParseMachineDescription(const std::string& text,
                                           const std::function<std::string(const std::string&)>& variable,
                                           MachineFamily family = MachineFamily::Nt);

// Applies every step; returns what failed (empty when all went through).
std::vector<std::string> ApplyMachine(const MachineDescription& machine, RegistryStore& registry, FileSystem& files,
                                      const std::vector<std::string>& sourceFolders);

}  // namespace vorn::demo
