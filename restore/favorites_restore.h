#pragma once
// The set's Favorites: a bookmark file added to the user's Favorites, or the copied folder put
// in their place or over them, as the user chooses.
#include <string>

#include "restore/restore_context.h"

namespace vorn {

// The Favorites folder as the shell folder setting names it: on the 2000 family a value that
// begins with %USERPROFILE% is the profile's "Favorites" folder.
std::string RestoreFavoritesFolder(const RestoreContext& run);
void ReFavorites(RestoreContext& run);

}  // namespace vorn
