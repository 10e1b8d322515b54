#pragma once
// "Favorites.htm": the Favorites folder as a bookmark file in the format browsers import
// (each Internet shortcut a link with its address, each subfolder a folder), code page 932,
// CR LF, as Internet Explorer's own export wrote it.
#include <string>

#include "platform/file_system.h"

namespace vorn {

std::string HtmlEscape(const std::string& text);

// True when the whole file was written.
bool ExportFavoritesToHtml(FileSystem& files, const std::string& favoritesFolder, const std::string& htmlPath);

}  // namespace vorn
