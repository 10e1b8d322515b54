#include "setread/set_export.h"

#include <algorithm>

#include "dbx/dbx_reader.h"
#include "dbx/folder_damage.h"
#include "dbx/message_extraction.h"
#include "dbx/message_recovery.h"
#include "platform/folder_path.h"
#include "set/set_reading.h"
#include "setread/export_names.h"
#include "setread/mbox_writer.h"
#include "setread/set_mail.h"

namespace vorn {
namespace {

// The extraction's progress as the export's: messages of the folders before and of this one.
class FolderProgress : public ExtractionProgress {
 public:
  explicit FolderProgress(const std::function<void(int32_t)>& written) : written_(written) {}
  void Begin(int32_t) override {}
  void Update(int32_t value) override { written_(value); }
  void End(int32_t) override {}

 private:
  const std::function<void(int32_t)>& written_;
};

void RemoveOutput(FileSystem& files, const std::string& path, ExportForm form) {
  if (form == ExportForm::Mbox) {
    files.DeleteFile(path);
    return;
  }
  for (const auto& entry : files.List(path, "*"))
    if (!entry.isDirectory) files.DeleteFile(path + "\\" + entry.name);
  files.RemoveDirectory(path);
}

class Exporter {
 public:
  Exporter(FileSystem& files, const std::string& outputFolder, ExportForm form, SetExportProgress& progress,
           size_t folderCount)
      : files_(files), names_(files, outputFolder), form_(form), progress_(progress), folderCount_(folderCount) {}

  void Export(DbxFile& file, const std::string& fileName, ExportedFolder& folder) {
    int32_t count = 0;
    if ((folder.error = ReadMessageCount(file, count)) != DbxError::None || count == 0) return;
    const std::string name = ValidFolderName(fileName.substr(0, fileName.size() - 4));
    const std::function<void(int32_t)> written = [&](int32_t messages) {
      progress_.Update(foldersDone_, folderCount_, messagesBefore_ + messages);
    };
    if (form_ == ExportForm::Mbox) {
      auto out = names_.CreateFile(name, ".mbox", folder.output);
      if (!out) {
        folder.output.clear();
        folder.error = DbxError::CannotCreate;
        return;
      }
      const MboxFolderResult result = WriteMboxFolder(file, *out, written);
      folder.messages = result.messages;
      folder.error = result.error;
      if (!out->Close() && folder.error == DbxError::None) folder.error = DbxError::WriteFailed;
    } else {
      auto created = names_.CreateFolder(name);
      if (!created) {
        folder.error = DbxError::CannotCreate;
        return;
      }
      folder.output = *created;
      // The extraction passes over an index that fails part-way; the export reports it.
      const DbxError walk = IndexReadError(file);
      FolderProgress extraction(written);
      const ExtractionResult result = ExtractFile(file, files_, folder.output + "\\", extraction);
      folder.messages = result.counters.written;
      folder.error = result.error != DbxError::None ? result.error : walk;
      // An index that leads to no message at all in a folder that counts some.
      if (folder.error == DbxError::None && result.counters.Named() == 0) folder.error = DbxError::IndexShort;
      if (IsReadDamage(folder.error)) Recover(file, folder);
    }
  }

  // What the index run wrote goes; the recovery writes every message its chains still hold.
  void Recover(DbxFile& file, ExportedFolder& folder) {
    for (const auto& entry : files_.List(folder.output, "*"))
      if (!entry.isDirectory) files_.DeleteFile(folder.output + "\\" + entry.name);
    const RecoveryReport report = RecoverMessages(file.Reopener(), files_, folder.output + "\\");
    folder.recovered = true;
    readBeforeRecovery_ = folder.messages;
    folder.messages = report.whole + report.cut;
    folder.cut = report.cut;
    folder.deleted = report.deleted;
    folder.error = report.error != DbxError::None ? report.error : folder.error;
  }

  // The progress counts the messages read, also those of a damaged member that are not kept.
  void Finished(ExportedFolder& folder) {
    messagesBefore_ += std::max(folder.messages, readBeforeRecovery_);
    readBeforeRecovery_ = 0;
    if (!folder.memberDamage.empty() && !folder.output.empty()) {
      RemoveOutput(files_, folder.output, form_);
      folder.output.clear();
      folder.messages = 0;
    }
    progress_.Update(++foldersDone_, folderCount_, messagesBefore_);
  }

 private:
  FileSystem& files_;
  ExportNames names_;
  const ExportForm form_;
  SetExportProgress& progress_;
  const size_t folderCount_;
  size_t foldersDone_ = 0;
  int32_t readBeforeRecovery_ = 0;  // messages the index run had read, which the progress has counted
  int64_t messagesBefore_ = 0;
};

}  // namespace

bool SetExportOutcome::Complete() const {
  if (!isSet || !hasMail || !outputCreated || !archiveProblem.empty()) return false;
  for (const auto& folder : folders)
    if (!folder.Whole()) return false;
  return true;
}

SetExportOutcome ExportSetMail(FileSystem& files, const std::string& userFolder, const std::string& outputFolder,
                               ExportForm form, SetExportProgress& progress) {
  SetExportOutcome outcome;
  if (!(outcome.isSet = HoldsBackupSet(files, userFolder))) return outcome;
  auto mail = SetMailFolders::Open(files, userFolder);
  if (!(outcome.hasMail = mail != nullptr)) return outcome;
  const RealFolder output = CreateRealFolderPath(files, outputFolder, outputFolder);
  outcome.outputLink = output.link;
  if (!(outcome.outputCreated = output.ready)) return outcome;
  Exporter exporter(files, outputFolder, form, progress, mail->count());
  SetFolderFile folderFile;
  SetMailFolders::Step step;
  while ((step = mail->Next(folderFile)) == SetMailFolders::Step::Folder) {
    ExportedFolder& folder = outcome.folders.emplace_back();
    folder.label = folderFile.label;
    if (auto file = mail->OpenFolder()) {
      exporter.Export(*file, folderFile.fileName, folder);
    } else {
      folder.error = DbxError::CannotOpen;
    }
    folder.memberDamage = mail->Damage();
    exporter.Finished(folder);
  }
  if (step == SetMailFolders::Step::Damaged) outcome.archiveProblem = mail->problem();
  return outcome;
}

}  // namespace vorn
