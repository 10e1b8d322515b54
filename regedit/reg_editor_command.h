#pragma once
// The two command texts the program gives the registry editor:
//   "Regedit.exe /e FILE KEY"    (the file bare, the key bare or in double quotes)
//   "regedit.exe /s \"FILE\""
#include <optional>
#include <string>
#include <string_view>

namespace vorn {

struct RegEditorCommand {
  enum class Action { Export, Import };
  Action action = Action::Import;
  std::string file;
  std::string key;  // export only: the full key name, quotes removed
  bool operator==(const RegEditorCommand&) const = default;
};

// nullopt for any other command text. Program name and switch compare without regard to
// case; the program may be given with a folder.
std::optional<RegEditorCommand> ParseRegEditorCommand(std::string_view commandLine);

}  // namespace vorn
