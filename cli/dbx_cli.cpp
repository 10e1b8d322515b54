// vorn-cli dbx info FILE.dbx | vorn-cli dbx extract FILE.dbx OUTDIR
#include <vector>

#include "cli/cli_areas.h"
#include "cli/console.h"
#include "dbx/dbx_reader.h"
#include "dbx/folder_classification.h"
#include "dbx/message_extraction.h"

namespace vorn::cli {

namespace {

int Fail(const std::string& path, DbxError error) {
  PrintError(path + ": " + DbxErrorDescription(error) + " (" + std::to_string(DbxErrorNumber(error)) + ")");
  return 1;
}

std::string Classification(const FolderClassification& folder) {
  if (folder.newsEntry && folder.mailEntry) return "news and mail";
  if (folder.newsEntry) return "news";
  if (folder.mailEntry) return "mail";
  return "neither";
}

int Info(HostFiles& host, const std::string& argument) {
  const std::string path = host.ProgramPath(argument);
  auto file = DbxFile::Open(host.files(), path);
  if (!file) return Fail(argument, DbxError::CannotOpen);
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
    if (error != DbxError::None) break;
    ++(info.kind == MessageKind::News ? news : info.kind == MessageKind::Mail ? mail : unclassified);
  }
  PrintLine("message count: " + std::to_string(count));
  PrintLine("index records: " + std::to_string(records.size()));
  PrintLine("news: " + std::to_string(news));
  PrintLine("mail: " + std::to_string(mail));
  PrintLine("unclassified: " + std::to_string(unclassified));
  if (error != DbxError::None) return Fail(argument, error);
  const FolderClassification folder = ClassifyFolderFile(host.files(), path);
  PrintLine("folder: " + Classification(folder));
  return folder.error == DbxError::None ? 0 : Fail(argument, folder.error);
}

class NoProgress : public ExtractionProgress {
 public:
  void Begin(int32_t) override {}
  void Update(int32_t) override {}
  void End(int32_t) override {}
};

int Extract(HostFiles& host, const std::string& fileArgument, const std::string& folderArgument) {
  std::string outputFolder = host.ProgramPath(folderArgument);
  if (outputFolder.back() != '\\') outputFolder += '\\';
  NoProgress progress;
  ExtractionResult result = ExtractFile(host.files(), host.ProgramPath(fileArgument), outputFolder, progress);
  PrintLine(std::to_string(result.counters.Named()));
  return result.error == DbxError::None ? 0 : Fail(fileArgument, result.error);
}

}  // namespace

int DbxCommand(const Arguments& args) {
  HostFiles host;
  if (args.size() == 2 && args[0] == "info") return Info(host, args[1]);
  if (args.size() == 3 && args[0] == "extract") return Extract(host, args[1], args[2]);
  PrintError("usage: vorn-cli dbx info FILE.dbx | vorn-cli dbx extract FILE.dbx OUTDIR");
  return 2;
}

}  // namespace vorn::cli
