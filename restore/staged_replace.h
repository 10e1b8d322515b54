#pragma once
// Replacing what a folder holds (the Store Root, the Favorites) without ever leaving it half
// done: the new content is made complete in a staging folder beside the target first; then the
// entries it replaces step aside into a holding folder, the new ones move in, and only then
// are the old ones deleted. A failure at any point puts everything back as it was.
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/folder_path.h"

namespace vorn {

class StagedReplace {
 public:
  // Creates a fresh staging folder beside target (target's parent is created when missing).
  StagedReplace(FileSystem& files, std::string target);
  ~StagedReplace();  // the staging folder goes, with whatever is still in it
  StagedReplace(const StagedReplace&) = delete;
  StagedReplace& operator=(const StagedReplace&) = delete;

  // Empty when no staging folder could be made.
  const std::string& staging() const { return staging_; }
  // The link or junction (the target or its folder) that kept the staging folder from being made.
  const std::string& link() const { return link_; }
  // Moves every entry of the staging folder into the target. The target's entries named in
  // replaced, and any entry of the name of a staged one, are removed once all is in; they stay
  // as they were when anything fails. True when the target holds the new content. With
  // keepReadOnly, read-only files among the removed ones go back to their places (in the
  // place of a new entry of the same name).
  bool Commit(const std::vector<std::string>& replaced, bool keepReadOnly = false);
  // After a commit that could not put every old entry (or kept read-only file) back: the
  // folder holding them.
  const std::string& unrestored() const { return unrestored_; }

 private:
  FileSystem& files_;
  std::string target_;
  std::string staging_;
  std::string link_;
  std::string unrestored_;
};

struct FolderBeside {
  std::string path;  // empty when none could be made
  std::string link;  // path or its folder when that is a link; then nothing is made
};
// A fresh folder beside path, named path + tag + a number, made here (so it holds nothing of
// anyone else's).
FolderBeside CreateFolderBeside(FileSystem& files, const std::string& path, const std::string& tag);

}  // namespace vorn
