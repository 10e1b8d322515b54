#pragma once
// The command lines the Unlha entry accepts, parsed.
//
//   a [switches] "archive" "base\" ... "pattern" ...   pack files of the base folder
//   x [switches] "archive" "destination"\ "pattern"   unpack into the destination folder
//   l "archive" ["pattern" ...]                         list members
//   t "archive" ["pattern" ...]                         unpack every member without writing, checking CRCs
//
// Items are separated by blanks; a double quote starts or ends a quoted stretch (backslashes are
// plain characters), so `"C:\S"\` is the item C:\S\ . Empty items ("") are ignored. An item that
// ends with "\" is a base folder: for a, the files matched by the patterns after it are taken from
// it and named relative to it; for x, it is the destination. Without a pattern, "*.*" applies.
//
// Switches (anything else is refused):
//   a: -r2   also take the files of subfolders, storing each subfolder as a folder entry
//      -x1   store names with their folder path relative to the base folder (else the name only)
//      -a1   also take hidden and system files (else they are left out)
//      -+    ignore stored defaults (there are none here)
//      -d0   keep the packed files (they are never deleted here)
//      -f0   pack every matching file, not only those newer than the archive's copy
//      -n0   show the progress window, owned by the caller's window; none without one
//      -jm3  accepted for the callers that pass it; no effect here
//   x: -y1   replace existing files without asking (else they are kept and reported)
//      -d1   accepted; folders stored in the archive are always recreated below the destination
#include <optional>
#include <string>
#include <vector>

namespace vorn::unlha {

struct FileSelection {
  std::string baseFolder;  // with its trailing "\"
  std::string pattern;
};

struct Command {
  char verb = 0;  // 'a', 'x', 'l', 't'
  std::string archive;
  std::vector<FileSelection> selections;  // a: what to pack
  std::string destination;                // x: with its trailing "\"
  std::vector<std::string> patterns;      // x, l, t: members to handle
  bool recurse = false, keepPaths = false, allAttributes = false, overwrite = false;
};

struct CommandItem {
  std::string text;
  bool isSwitch = false;  // began with an unquoted "-"
};

// Items of a command line as described above.
std::vector<CommandItem> SplitCommandLine(const std::string& line);
std::optional<Command> ParseCommand(const std::string& line);

}  // namespace vorn::unlha
