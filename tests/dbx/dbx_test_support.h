#pragma once
// A Store Root on a temporary host folder, seen through the simulated file system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/sim/sim_file_system.h"
#include "tests/dbx/dbx_writer.h"

namespace vorn::test {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("vorn-dbx-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void WriteHostFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadHostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DbxStore : public ::testing::Test {
 protected:
  DbxStore() : files(temp.path()) {}

  // Writes the image to the Windows path and returns that path.
  std::string Put(const std::string& windowsPath, const std::vector<unsigned char>& bytes) {
    WriteHostFile(files.HostPath(windowsPath), bytes);
    return windowsPath;
  }
  std::string Read(const std::string& windowsPath) { return ReadHostFile(files.HostPath(windowsPath)); }
  bool HostExists(const std::string& windowsPath) { return std::filesystem::exists(files.HostPath(windowsPath)); }

  TempFolder temp;
  SimFileSystem files;
};

}  // namespace vorn::test
