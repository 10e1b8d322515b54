#include "backup/registry_exports.h"

#include "core/app.h"
#include "core/run_context.h"
#include "core/signature_texts.h"
#include "platform/text.h"
#include "set/set_exports.h"

namespace vorn {
namespace {

constexpr const char* kWorkFolderName = "\\VornReg";
constexpr int kWorkFolderAttempts = 1000;

// A folder below TEMP that did not exist before, so that nothing in it belongs to anyone else.
std::string CreateWorkFolder(FileSystem& files, const std::string& temp) {
  for (int n = 0; n < kWorkFolderAttempts; ++n) {
    std::string folder = temp + kWorkFolderName + (n == 0 ? std::string() : std::to_string(n));
    if (files.Exists(folder)) continue;
    if (files.CreateDirectory(folder) == FsResult::Ok) return folder;
  }
  return {};
}

void ExportAccounts(RegistryExporter& exporter) {
  // The main user's set carries the shared accounts with their association, which is how a
  // restore tells it from another user's; that user's own accounts come with OE.reg. For any
  // other user both exports write the same file, and one without accounts of its own keeps the
  // first.
  const EnvironmentRecord& env = exporter.app().env;
  exporter.Export("\\Account.reg", Quoted(kSharedAccountsKey));
  if (!env.mainIdentityGuid.empty() && env.selectedIdentityGuid == "{" + env.mainIdentityGuid + "}") return;
  exporter.Export("\\Account.reg", Quoted(IdentityAccountsKey(env.selectedIdentityGuid)));
}

void CopyWhenNotEmpty(App& app, const std::string& source, const std::string& target) {
  if (app.platform.files.FileSize(source).value_or(0) != 0) app.platform.files.CopyFile(source, target, true);
}

void ExportRemoteAccessKey(RegistryExporter& exporter) {
  exporter.Export("\\Remote.reg", kRemoteAccessKey);
}

void CopyPhonebooks(RunContext& run, const BackupSet& set) {
  App& app = run.app;
  const std::string pbk = std::string("\\") + kPhonebookBelowApplicationData;
  const std::string shared =
      app.platform.environment.Variable("SystemDrive").value_or("") + kSharedApplicationDataBelowSystemDrive + pbk;
  const std::string own = app.env.userProfileFolder + "\\Application Data" + pbk;
  const std::string sharedCopy = set.Layout().RegFile("rasphone1.pbk");
  const std::string ownCopy = set.Layout().RegFile("rasphone2.pbk");
  if (app.FileExists(shared)) {
    CopyWhenNotEmpty(app, shared, sharedCopy);
    if (app.FileExists(own)) CopyWhenNotEmpty(app, own, ownCopy);
  } else if (app.FileExists(own)) {
    CopyWhenNotEmpty(app, own, ownCopy);
  } else {
    run.Show({"ダイアルアップの設定を保存できませんでした。", "ERROR", MsgIcon::None, MsgButtons::Ok, 0});
  }
}

}  // namespace

RegistryExporter::RegistryExporter(App& app, const BackupSet& set) : app_(app), set_(set) {
  const std::string temp = app.platform.environment.Variable("TEMP").value_or("");
  if (!temp.empty()) workFolder_ = CreateWorkFolder(app.platform.files, temp);
}

RegistryExporter::~RegistryExporter() {
  if (workFolder_.empty()) return;
  FileSystem& files = app_.platform.files;
  for (const auto& entry : files.List(workFolder_, "*"))
    if (!entry.isDirectory) files.DeleteFile(workFolder_ + "\\" + entry.name);
  files.RemoveDirectory(workFolder_);
}

void RegistryExporter::Export(const std::string& filePart, const std::string& key) {
  if (workFolder_.empty()) return;
  const std::string exported = workFolder_ + filePart;
  app_.platform.registryEditor.Run("Regedit.exe /e " + exported + " " + key);
  if (app_.platform.files.Exists(exported))
    app_.platform.files.CopyFile(exported, set_.Layout().RegFolder() + filePart, true);
}

void ExportOeSettings(RegistryExporter& exporter) {
  exporter.Export("\\OE.reg", IdentitySoftwareKey(exporter.app().env.selectedIdentityGuid));
}

void ExportSignatures(RegistryExporter& exporter) {
  exporter.Export("\\Sig.reg", Quoted(IdentitySignaturesKey(exporter.app().env.selectedIdentityGuid)));
}

void ExportRemoteAccess(RegistryExporter& exporter, int remote) {
  if (remote == 1) ExportRemoteAccessKey(exporter);
}

void ExportFavoritesOrder(RegistryExporter& exporter, int favoOrder) {
  if (favoOrder == 1)
    exporter.Export("\\FavoOrder.reg", kFavoritesOrderKey);
}

void ExportRegistry2000(RunContext& run, const BackupSet& set) {
  App& app = run.app;
  RegistryExporter exporter(app, set);
  const std::string& identity = app.env.selectedIdentityGuid;
  SignaturesToMultiString(app.reg, identity);
  ExportOeSettings(exporter);
  NormalizeSignatureTexts(app.reg, identity);
  ExportSignatures(exporter);
  if (app.settings.saveDialUp != 0) {
    ExportRemoteAccessKey(exporter);
    exporter.Export("\\Locations.reg", kTelephonyLocationsKey);
    CopyPhonebooks(run, set);
  }
  ExportAccounts(exporter);
  ExportFavoritesOrder(exporter, app.settings.saveFavoritesOrder);
}

void ExportRegistry98(RunContext& run, const BackupSet& set) {
  App& app = run.app;
  RegistryExporter exporter(app, set);
  ExportOeSettings(exporter);
  ExportSignatures(exporter);
  ExportRemoteAccess(exporter, app.settings.saveDialUp);
  ExportAccounts(exporter);
  ExportFavoritesOrder(exporter, app.settings.saveFavoritesOrder);
}

}  // namespace vorn
