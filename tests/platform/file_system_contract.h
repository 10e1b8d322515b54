#pragma once
// The cases every FileSystem must pass, simulated or real. Each instantiation supplies a
// factory and a scratch folder (a Windows path whose parent exists) that the cases may fill.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace vorn {

struct FileSystemUnderTest {
  std::function<std::unique_ptr<FileSystem>()> make;
  std::function<std::string()> scratchFolder;  // emptied before and removed after every case
  // Makes `link` a symbolic link to the existing `target` (both Windows paths) from outside the
  // service, and removes it again while its target exists.
  std::function<bool(const std::string& link, const std::string& target)> makeLink;
  std::function<void(const std::string& link)> removeLink;
};

inline void PrintTo(const FileSystemUnderTest&, std::ostream* out) { *out << "file system"; }

class FileSystemContract : public ::testing::TestWithParam<FileSystemUnderTest> {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& rest) const { return base + "\\" + rest; }
  void WriteText(const std::string& rest, const std::string& content);
  std::string ReadText(const std::string& rest) const;

  std::unique_ptr<FileSystem> files;
  std::string base;
};

}  // namespace vorn
