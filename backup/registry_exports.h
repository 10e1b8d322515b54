#pragma once
// The registry part of a backup set: Outlook Express settings, signatures, accounts, the
// Favorites order and the dial-up settings, exported by the registry editor into "Reg".
#include <string>

#include "backup/backup_set.h"

namespace vorn {

class App;
class RunContext;

// Runs the editor's exports into a private folder below TEMP and copies each result into the
// set's "Reg" folder. The private folder and everything in it go away with this object, so
// files of other programs in TEMP are never overwritten or deleted.
class RegistryExporter {
 public:
  RegistryExporter(App& app, const BackupSet& set);
  ~RegistryExporter();
  RegistryExporter(const RegistryExporter&) = delete;
  RegistryExporter& operator=(const RegistryExporter&) = delete;

  // filePart is "\OE.reg" and the like; key is given as the editor takes it (quoted or bare).
  void Export(const std::string& filePart, const std::string& key);
  App& app() { return app_; }
  const BackupSet& set() const { return set_; }
  const std::string& workFolder() const { return workFolder_; }

 private:
  App& app_;
  const BackupSet& set_;
  std::string workFolder_;
};

void ExportOeSettings(RegistryExporter& exporter);
void ExportSignatures(RegistryExporter& exporter);
void ExportRemoteAccess(RegistryExporter& exporter, int remote);
void ExportFavoritesOrder(RegistryExporter& exporter, int favoOrder);

void ExportRegistry2000(RunContext& run, const BackupSet& set);
void ExportRegistry98(RunContext& run, const BackupSet& set);

}  // namespace vorn
