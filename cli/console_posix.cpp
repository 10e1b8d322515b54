#include <cstdio>
#include <filesystem>
#include <random>

#include "cli/console.h"
#include "platform/sim/sim_file_system.h"

namespace vorn::cli {

namespace fs = std::filesystem;

std::string ArgumentText(const char* argument) { return argument; }

void PrintLine(const std::string& utf8) { std::printf("%s\n", utf8.c_str()); }

void PrintError(const std::string& utf8) { std::fprintf(stderr, "vorn-cli: %s\n", utf8.c_str()); }

// The simulated file system maps "C:\x" to <root>/C/x; a private root whose "C" links to "/"
// lets it reach every host path.
HostFiles::HostFiles() {
  std::random_device random;
  fs::path root = fs::temp_directory_path() / ("vorn-cli-" + std::to_string(random()) + std::to_string(random()));
  fs::create_directory(root);
  fs::create_directory_symlink("/", root / "C");
  root_ = root.string();
  files_ = std::make_unique<SimFileSystem>(root);
}

HostFiles::~HostFiles() {
  std::error_code ignored;
  fs::remove(fs::path(root_) / "C", ignored);  // the link only, never what it points at
  fs::remove(root_, ignored);
}

std::string HostFiles::ProgramPath(const std::string& argument) const {
  std::string path = fs::absolute(argument).lexically_normal().string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return "C:" + path;
}

}  // namespace vorn::cli
