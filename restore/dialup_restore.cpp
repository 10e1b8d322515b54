#include "restore/dialup_restore.h"

#include "platform/folder_path.h"
#include "restore/reg_file_rewriting.h"
#include "restore/registry_restore.h"
#include "restore/safety_copy.h"
#include "set/set_exports.h"

namespace vorn {
namespace {

constexpr const char* kPhonebookFolders[] = {"\\Microsoft\\", "\\Microsoft\\Network\\",
                                             "\\Microsoft\\Network\\Connections\\",
                                             "\\Microsoft\\Network\\Connections\\Pbk\\"};

std::string SharedApplicationData(const RestoreContext& run) {
  return run.app.platform.environment.Variable("SystemDrive").value_or("") + kSharedApplicationDataBelowSystemDrive;
}

std::string OwnApplicationData(const RestoreContext& run) { return run.env().userProfileFolder + "\\Application Data"; }

void CreatePhonebookFolders(RestoreContext& run, const std::string& applicationData) {
  for (const char* folder : kPhonebookFolders) CreateOneFolder(run.files(), applicationData + folder);
}

void CopyPhonebook(RestoreContext& run, const std::string& setFile, const std::string& target) {
  const std::string source = run.RegFolder() + "\\" + setFile;
  if (!run.files().Exists(source)) return;
  if (!ReplaceKeepingSafetyCopy(run.files(), source, target))
    run.report.failures.push_back(target + " に " + setFile + " を復元できませんでした");
}

}  // namespace

void RE_Remote(RestoreContext& run) {
  if (!run.state.sameOsFamily) return;
  FileSystem& files = run.files();
  const std::string remote = run.RegFolder() + "\\Remote.reg";
  if (!run.env().IsNt()) {
    if (!files.Exists(remote)) return;
    if (RegFileKind(files, remote) == kRegUnicodeExport)
      ImportConverted(run, "Remote.reg");
    else
      ImportSetFile(run, remote, "Remote.reg");
    return;
  }
  if (!files.Exists(run.RegFolder() + "\\Locations.reg") || !files.Exists(remote)) return;
  ImportSetFile(run, remote, "Remote.reg");
  CreatePhonebookFolders(run, SharedApplicationData(run));
  CpyPbk(run);
  CreatePhonebookFolders(run, OwnApplicationData(run));
  CpyPbk2(run);
}

void CpyPbk(RestoreContext& run) {
  CopyPhonebook(run, "rasphone1.pbk", SharedApplicationData(run) + "\\" + kPhonebookBelowApplicationData);
}

void CpyPbk2(RestoreContext& run) { CopyPhonebook(run, "rasphone2.pbk", OwnApplicationData(run) + "\\" + kPhonebookBelowApplicationData); }

}  // namespace vorn
