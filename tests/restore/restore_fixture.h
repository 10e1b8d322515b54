#pragma once
// A receiving machine for the restore's steps: the identity hanako with her own settings, and
// a backup set of the identity taro taken on a machine of either family, its .reg files
// exported by the program's own editor from taro's registry.
#include <string>

#include "regedit/reg_file_editor.h"
#include "restore/restore_context.h"
#include "tests/restore/faulty_file_system.h"
#include "tests/support/sim_machine.h"

namespace vorn {

inline const std::string kSourceGuid = "{AAAAAAAA-1111-2222-3333-444444444444}";
inline const std::string kReceiverGuid = "{BBBBBBBB-1111-2222-3333-444444444444}";
inline const std::string kSetFolder = "C:\\Sets\\taro";

// taro's registry on a machine of either family.
void FillSourceRegistry(RegistryStore& store, bool nt);
// The set's .reg files from a registry like FillSourceRegistry's, exported as the backup does.
void ExportSetFiles(FileSystem& files, RegistryStore& source, bool ntSource, const std::string& setFolder);

class RestoreFixture {
 public:
  explicit RestoreFixture(bool nt = true);

  // Writes a set taken on a machine of the given family into kSetFolder.
  void MakeSet(bool ntSource);
  std::string Text(const std::string& key, const std::string& value, RegRoot root = RegRoot::CurrentUser) const;
  std::string IdentityKey(const std::string& guid = kReceiverGuid) const;
  std::string SetFile(const std::string& name) const { return m.ReadFile(kSetFolder + "\\Reg\\" + name); }

  SimMachine m;
  bool nt;
  RegFileEditor editor;
  App& app;
  RegistryAccess& reg;
  EnvironmentRecord& env;
  RestoreState state;
  RestoreContext run;
  RunReport& report = run.report;
  std::string storeRootValue;  // the receiver's "Store Root" as stored
};

// The fixture's run on a file system the test can make fail.
struct OnFaultyDisk {
  explicit OnFaultyDisk(RestoreFixture& f)
      : files(f.m.files),
        shell(files),
        platform{f.m.registry, f.m.environment, files, f.m.processes, shell, f.m.ui, f.m.clock, f.m.registryEditor,
                 f.m.archiver},
        app(platform),
        run(app, f.state) {
    app.env = f.env;
  }
  FaultyFileSystem files;
  SimShell shell;
  Platform platform;
  App app;
  RestoreContext run;
  RunReport& report = run.report;
};

}  // namespace vorn
