#include "platform/sim/sim_shell.h"

namespace vorn {
namespace {

constexpr int kShellCopyFailed = 0x402;  // the shell's "unknown error" for a source it cannot read

bool CopyInto(FileSystem& files, const std::string& destinationFolder, const std::string& source,
              const std::string& name) {
  const std::string target = destinationFolder + "\\" + name;
  if (!files.IsDirectory(source)) return files.CopyFile(source, target, true) == FsResult::Ok;
  files.CreateDirectory(target);
  bool ok = true;
  for (const auto& entry : files.List(source, "*")) ok = CopyInto(files, target, source + "\\" + entry.name, entry.name) && ok;
  return ok;
}

}  // namespace

int SimShell::FileTransfer(WindowHandle, const std::string& destinationFolder, const std::string& source) {
  transfers.push_back({destinationFolder, source});
  if (!files_.IsDirectory(destinationFolder)) files_.CreateDirectory(destinationFolder);
  size_t slash = source.rfind('\\');
  std::string folder = slash == std::string::npos ? std::string() : source.substr(0, slash);
  std::string name = source.substr(slash == std::string::npos ? 0 : slash + 1);
  if (name.find_first_of("*?") == std::string::npos) {
    if (!files_.Exists(source)) return kShellCopyFailed;
    return CopyInto(files_, destinationFolder, source, name) ? 0 : kShellCopyFailed;
  }
  bool ok = true;
  for (const auto& entry : files_.List(folder, name)) ok = CopyInto(files_, destinationFolder, folder + "\\" + entry.name, entry.name) && ok;
  return ok ? 0 : kShellCopyFailed;
}

}  // namespace vorn
