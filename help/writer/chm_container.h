#pragma once
// The storage format of compiled help files (ITSF): a header, a directory of named files, an
// uncompressed content section and the LZX-compressed section kept inside it.
#include <cstdint>
#include <string>
#include <vector>

namespace vorn::help {

enum class Section { Uncompressed, Compressed };

struct ContainerFile {
  std::string name;  // full name inside the container, "/page.htm" or "/#SYSTEM"
  std::string data;
  Section section = Section::Compressed;
};

// The whole file. `language` (a Windows LCID) goes into the headers.
std::string WriteContainer(const std::vector<ContainerFile>& files, uint32_t language);

}  // namespace vorn::help
