#pragma once
// Where everything of one backup set lies, below its user folder:
//   Reg\            the .reg exports, the phonebooks and, written last, the information file
//   Wab\            the address book file under its own name
//   Mail\           the Store Root's folder files, copied, or
//   Mail.lzh        the Store Root packed
//   Favorites\      the Favorites folder, copied, or
//   Favorites.htm   the Favorites as a bookmark file
// and the rule that turns a user name into the user folder's name.
#include <string>
#include <utility>

namespace vorn {

inline constexpr const char* kBackupInfoFileName = "VornInfo.dat";
inline constexpr const char* kMailArchiveName = "Mail.lzh";
inline constexpr const char* kMailFolderName = "Mail";

class SetLayout {
 public:
  // userFolder: the destination's user folder, no trailing backslash.
  explicit SetLayout(std::string userFolder) : userFolder_(std::move(userFolder)) {}

  const std::string& UserFolder() const { return userFolder_; }
  std::string RegFolder() const { return Below("Reg"); }
  std::string RegFile(const std::string& name) const { return RegFolder() + "\\" + name; }
  std::string InfoFile() const { return RegFile(kBackupInfoFileName); }
  std::string WabFolder() const { return Below("Wab"); }
  std::string MailFolder() const { return Below(kMailFolderName); }
  std::string MailArchive() const { return Below(kMailArchiveName); }
  std::string FavoritesFolder() const { return Below("Favorites"); }
  std::string FavoritesHtml() const { return Below("Favorites.htm"); }

 private:
  std::string Below(const std::string& name) const { return userFolder_ + "\\" + name; }

  std::string userFolder_;
};

// The user name as a folder name: each of / < > ? \ * ; ' becomes "_", and a name of only dots
// and blanks ("..", which would lead out of the destination), or none, becomes "_" for each.
std::string MakeSetFolderName(const std::string& userName);

}  // namespace vorn
