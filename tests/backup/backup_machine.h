#pragma once
// A simulated machine ready for a backup: two Outlook Express users with mail stores,
// signatures, Favorites and an address book, the program started and the backup wired in.
#include <map>
#include <string>

#include "tests/support/sim_machine.h"

namespace vorn {

inline const std::string kTaroGuid = "AAAAAAAA-1111-2222-3333-444444444444";
inline const std::string kHanakoGuid = "BBBBBBBB-1111-2222-3333-444444444444";

// The key a "Regedit.exe /e FILE KEY" command names, quotes removed, and its file.
struct ExportCommand {
  std::string file;
  std::string key;
};
ExportCommand ParseExportCommand(const std::string& commandLine);

class BackupMachine {
 public:
  explicit BackupMachine(bool nt = true, bool withMainIdentity = true);

  // Starts the program, chooses Backup and clicks the user at that list index.
  void StartAndPick(int userIndex = 0);
  // The OK button, as the user presses it.
  void PressOk();
  bool PressOkEnds();

  std::string StoreRoot(const std::string& guid) const;
  std::string UserFolder(const std::string& name = "taro") const;
  bool SetHas(const std::string& relative) const;
  std::string SetFile(const std::string& relative) const { return m.ReadFile(UserFolder() + "\\" + relative); }
  void WriteSetting(const std::string& name, int16_t value);
  // Export commands the run gave the editor, in order.
  std::vector<ExportCommand> Exports() const;

  SimMachine m;
  bool nt;
  std::string desktop;
  std::string temp;
  // Keys whose export writes nothing (the key is missing on the machine).
  std::vector<std::string> keysWithoutExport;
};

}  // namespace vorn
