#pragma once
// A file system and an empty scratch folder on it, for the contracts whose cases work on files.
// Each instantiation supplies a factory and a scratch folder (a Windows path whose parent
// exists); the folder is emptied before and removed after every case.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace vorn {

struct FileSystemUnderTest {
  std::function<std::unique_ptr<FileSystem>()> make;
  std::function<std::string()> scratchFolder;
  // Makes `link` a symbolic link to the existing `target` (both Windows paths) from outside the
  // service, and removes it again while its target exists.
  std::function<bool(const std::string& link, const std::string& target)> makeLink;
  std::function<void(const std::string& link)> removeLink;
};

// Removes a folder tree through the service itself, clearing read-only marks on the way; links
// are first removed with removeLink, as they were made, and never followed.
void RemoveTree(FileSystem& files, const std::string& folder,
                const std::function<void(const std::string&)>& removeLink = {});
// Every entry below folder by its path relative to it ("Sub\a.txt"): a file's content, or
// "<folder>" for a folder.
std::map<std::string, std::string> Tree(const FileSystem& files, const std::string& folder);

template <typename UnderTest>
class ScratchFolderTest : public ::testing::TestWithParam<UnderTest> {
 protected:
  void SetUp() override {
    files = this->GetParam().files.make();
    base = this->GetParam().files.scratchFolder();
    RemoveTree(*files, base, this->GetParam().files.removeLink);
    ASSERT_EQ(files->CreateDirectory(base), FsResult::Ok);
  }
  void TearDown() override { RemoveTree(*files, base, this->GetParam().files.removeLink); }
  std::string Path(const std::string& rest) const { return base + "\\" + rest; }
  void WriteText(const std::string& rest, const std::string& content) {
    auto out = files->OpenWrite(Path(rest));
    ASSERT_NE(out, nullptr) << rest;
    ASSERT_TRUE(out->Write(content.data(), content.size()));
    ASSERT_TRUE(out->Close());
  }

  std::unique_ptr<FileSystem> files;
  std::string base;
};

}  // namespace vorn
