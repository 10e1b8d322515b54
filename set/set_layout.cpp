#include "set/set_layout.h"

#include <string_view>

#include "platform/folder_path.h"

namespace vorn {

std::string MakeSetFolderName(const std::string& userName) {
  std::string name = userName;
  for (char& c : name)
    if (std::string_view("/<>?\\*;'").find(c) != std::string_view::npos) c = '_';
  return FolderNameOfItsOwn(name);
}

}  // namespace vorn
