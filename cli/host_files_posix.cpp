#ifndef _WIN32
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "cli/host_files.h"
#include "platform/sim/sim_file_system.h"

namespace vorn::cli {
namespace {

namespace fs = std::filesystem;

// The simulated file system maps "C:\x" to <root>/C/x; a private root whose "C" links to "/"
// makes every host path reachable as C:\<path>.
class HostRoot {
 public:
  HostRoot() {
    std::string pattern = (fs::temp_directory_path() / "vorn-cli-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    root_ = pattern;
    std::error_code ec;
    fs::create_directory_symlink("/", root_ / "C", ec);
  }
  ~HostRoot() {
    std::error_code ec;
    if (root_.empty()) return;
    fs::remove(root_ / "C", ec);
    fs::remove(root_, ec);
  }
  const fs::path& path() const { return root_; }

 private:
  fs::path root_;
};

class HostFiles : public SimFileSystem {
 public:
  explicit HostFiles(std::unique_ptr<HostRoot> root) : SimFileSystem(root->path()), root_(std::move(root)) {}

 private:
  std::unique_ptr<HostRoot> root_;
};

}  // namespace

std::unique_ptr<FileSystem> OpenHostFiles() { return std::make_unique<HostFiles>(std::make_unique<HostRoot>()); }

std::string HostToProgramPath(const std::string& argument) {
  std::string path = fs::absolute(argument).lexically_normal().string();
  std::string windows = "C:";
  for (char c : path) windows += c == '/' ? '\\' : c;
  while (windows.size() > 3 && windows.back() == '\\') windows.pop_back();
  return windows;
}

std::ostream& StandardOutput() { return std::cout; }
std::ostream& StandardError() { return std::cerr; }

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

}  // namespace vorn::cli
#endif
