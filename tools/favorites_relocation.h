#pragma once
// Moves the content of the Favorites folder into a "Favorites" folder below a place the user
// picks and points the shell's Favorites setting at it.
#include <string>

#include "core/run_context.h"

namespace vorn {

inline constexpr const char* kUserShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The options window's "参照 ..." of the Favorites. `shownFolder` is the window's Favorites text
// box; it shows the new folder. Either everything moves and the setting names the new folder, or
// what moved goes back and the setting stays. A name already used at the new folder is never
// replaced: the moved entry takes a free name beside it. The user is told what happened.
void RelocateFavorites(RunContext& context, std::string& shownFolder);

}  // namespace vorn
