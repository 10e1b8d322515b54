#pragma once
// A bookmark file added to the user's Favorites: each folder a folder, each link an Internet
// shortcut (".url"). Nothing already there is replaced: a shortcut of the same name that leads
// elsewhere keeps its place and the new one takes the next free name ("name (2).url").
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "restore/bookmark_file.h"

namespace vorn {

struct FavoritesImportResult {
  int added = 0;    // shortcuts written
  int present = 0;  // shortcuts that were there already with the same address
  std::vector<std::string> failed;  // shortcuts or folders that could not be written
};

// A title as a file name: the characters a name cannot hold become "_", trailing dots and
// blanks go, device names get a "_", an empty title becomes "無題".
std::string FavoriteFileName(const std::string& title);

FavoritesImportResult ImportBookmarks(FileSystem& files, const std::string& favoritesFolder,
                                      const std::vector<BookmarkItem>& items);
// Reads the bookmark file and imports it; false when the file cannot be read.
bool ImportFavoritesHtml(FileSystem& files, const std::string& htmlPath, const std::string& favoritesFolder,
                         FavoritesImportResult& result);

}  // namespace vorn
