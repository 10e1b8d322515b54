#pragma once
// The cases every FileSystem must pass, simulated or real.
#include <ostream>

#include "tests/platform/scratch_folder.h"

namespace vorn {

struct FileSystemContractCase {
  FileSystemUnderTest files;
};

inline void PrintTo(const FileSystemContractCase&, std::ostream* out) { *out << "file system"; }

class FileSystemContract : public ScratchFolderTest<FileSystemContractCase> {
 protected:
  // Reads in small pieces on purpose: reads must continue where the last one stopped.
  std::string ReadText(const std::string& rest) const;
};

}  // namespace vorn
