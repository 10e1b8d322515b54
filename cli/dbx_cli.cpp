// vorn-cli dbx: what a folder file holds, and its messages extracted as the Convert button does.
#include <ostream>
#include <vector>

#include "cli/cli.h"
#include "cli/exit_codes.h"
#include "dbx/dbx_reader.h"
#include "dbx/folder_classification.h"
#include "dbx/folder_damage.h"
#include "dbx/message_extraction.h"
#include "dbx/message_recovery.h"

namespace vorn::cli {

namespace {

int Fail(Context& context, const std::string& argument, DbxError error) {
  context.err << "vorn-cli dbx: " << argument << ": " << DbxErrorDescription(error) << " (error "
              << DbxErrorNumber(error) << ")\n";
  return kExitFailed;
}

int Info(Context& context, const std::string& argument) {
  const std::string path = context.programPath(argument);
  auto file = DbxFile::Open(context.files, path);
  if (!file) return Fail(context, argument, DbxError::CannotOpen);
  int32_t count = 0;
  int32_t root = 0;
  std::vector<int32_t> records;
  DbxError error = ReadMessageCount(*file, count);
  if (error == DbxError::None) error = ReadIndexRoot(*file, root);
  if (error == DbxError::None) error = CollectMessageInfoOffsets(*file, root, records);
  int news = 0, mail = 0, unclassified = 0;
  for (size_t i = 0; i < records.size() && error == DbxError::None; ++i) {
    MessageInfo info;
    error = ClassifyMessageInfo(*file, records[i], info);
    if (error == DbxError::None)
      ++(info.kind == MessageKind::News ? news : info.kind == MessageKind::Mail ? mail : unclassified);
  }
  context.out << "message count: " << count << "\nindex records: " << records.size() << "\nnews: " << news
              << "\nmail: " << mail << "\nunclassified: " << unclassified << "\n";
  if (const FolderDamage damage = InspectFolderFile(*file); damage.damaged) {
    context.out << "folder: damaged\nrecoverable: " << damage.recoverable << " (cut: " << damage.cut
                << ")\ndeleted: " << damage.deleted << "\n";
    return Fail(context, argument, damage.error);
  }
  if (error != DbxError::None) return Fail(context, argument, error);
  const FolderClassification folder = ClassifyFolderFile(context.files, path);
  context.out << "folder: " << FolderKindName(folder) << "\n";
  return folder.error == DbxError::None ? kExitOk : Fail(context, argument, folder.error);
}

class NoProgress : public ExtractionProgress {
 public:
  void Begin(int32_t) override {}
  void Update(int32_t) override {}
  void End(int32_t) override {}
};

int Extract(Context& context, const std::string& fileArgument, const std::string& folderArgument) {
  std::string outputFolder = context.programPath(folderArgument);
  if (outputFolder.back() != '\\') outputFolder += '\\';
  NoProgress progress;
  const ExtractionResult result =
      ExtractFile(context.files, context.programPath(fileArgument), outputFolder, progress);
  context.out << result.counters.Named() << "\n";
  return result.error == DbxError::None ? kExitOk : Fail(context, fileArgument, result.error);
}

// Exit 0: the file was intact; 1: recovery was needed (or a message file could not be written);
// 2: nothing was found.
int Recover(Context& context, const std::string& fileArgument, const std::string& folderArgument) {
  const std::string path = context.programPath(fileArgument);
  std::string outputFolder = context.programPath(folderArgument);
  if (outputFolder.back() != '\\') outputFolder += '\\';
  const RecoveryReport report = RecoverMessages(context.files, path, outputFolder);
  if (report.error == DbxError::CannotOpen) {
    Fail(context, fileArgument, report.error);
    return kExitUsage;
  }
  context.out << "whole: " << report.whole << "\ncut: " << report.cut << "\ndeleted: " << report.deleted;
  if (report.deletedCut) context.out << " (" << report.deletedCut << " cut)";
  context.out << "\n";
  for (const std::string& name : report.cutFiles) context.out << "cut file: " << name << "\n";
  if (report.error != DbxError::None) return Fail(context, fileArgument, report.error);
  auto file = DbxFile::Open(context.files, path);
  if (file && IndexAgreesWithRecovery(*file, report)) {
    context.out << "the folder file is intact\n";
    return kExitOk;
  }
  context.out << "the folder file is damaged: its index does not lead to these messages\n";
  return report.Found() == 0 ? kExitUsage : kExitFailed;
}

}  // namespace

int RunDbx(Context& context, const std::vector<std::string>& args) {
  if (args.size() == 2 && args[0] == "info") return Info(context, args[1]);
  if (args.size() == 3 && args[0] == "extract") return Extract(context, args[1], args[2]);
  if (args.size() == 3 && args[0] == "recover") return Recover(context, args[1], args[2]);
  context.err << "usage: vorn-cli dbx info FILE.dbx | dbx extract FILE.dbx OUTDIR | dbx recover FILE.dbx OUTDIR\n";
  return kExitUsage;
}

}  // namespace vorn::cli
