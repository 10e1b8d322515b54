#pragma once
// The bookmark file format browsers export and import ("NETSCAPE-Bookmark-file-1"): nested
// <DL> lists of <DT><H3>folders</H3> and <DT><A HREF="...">links</A>. Reads what the backup
// writes and what Internet Explorer, Firefox and Chrome export, in code page 932 or UTF-8 as the
// file's META says (a file without one is taken as UTF-8 when it is valid UTF-8).
#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

struct BookmarkItem {
  std::vector<std::string> folder;  // the folders it sits in, outermost first
  std::string name;                 // the folder's or link's title, entities decoded
  std::string url;                  // empty for a folder
  int64_t added = 0;                // ADD_DATE, seconds since 1970; 0 when absent
  bool IsFolder() const { return url.empty(); }
  bool operator==(const BookmarkItem&) const = default;
};

// Folders and links in document order, each folder before what it holds. Links whose address
// is no place to go (Firefox's "place:" queries, empty addresses) are left out.
std::vector<BookmarkItem> ReadBookmarkFile(const std::string& fileBytes);

}  // namespace vorn
