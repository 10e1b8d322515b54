// vorn-cli set: a backup set read on any machine, without the mail program: what it holds, and
// its mail exported as message files or mbox files.
#include <chrono>
#include <iomanip>
#include <ostream>

#include "cli/backup_info_text.h"
#include "cli/cli.h"
#include "cli/exit_codes.h"
#include "dbx/dbx_error.h"
#include "set/set_layout.h"
#include "set/set_reading.h"
#include "setread/set_contents.h"
#include "setread/set_export.h"

namespace vorn::cli {
namespace {

constexpr const char* kUsage = "usage: vorn-cli set info SETFOLDER | set export SETFOLDER OUTDIR [--mbox] [-q]\n";

// The restore's own message for a folder that holds no set.
int NoSet(Context& context) {
  context.err << kNoBackupFoundTitle << ": ";
  for (const char* c = kNoBackupFoundText; *c; ++c)
    if (*c != '\r') context.err << *c;
  context.err << "\n";
  return kExitUsage;
}

int NoMail(Context& context) {
  context.err << "vorn-cli set: the set holds no mail data (neither Mail.lzh nor a Mail folder)\n";
  return kExitFailed;
}

std::string Described(DbxError error) {
  return DbxErrorDescription(error) + " (error " + std::to_string(DbxErrorNumber(error)) + ")";
}

void PrintFiles(Context& context, const std::string& setFolder) {
  context.out << "Files:\n";
  for (const auto& entry : ListSetFiles(context.files, setFolder)) {
    context.out << "  " << std::setw(12) << entry.bytes << "  " << entry.path;
    if (entry.path.back() == '\\') context.out << "  (" << entry.files << (entry.files == 1 ? " file)" : " files)");
    context.out << "\n";
  }
}

int Info(Context& context, const std::string& argument) {
  const std::string setFolder = context.programPath(argument);
  if (!HoldsBackupSet(context.files, setFolder)) return NoSet(context);
  context.out << "Set: " << argument << "\n";
  if (auto fields = ReadBackupInfoFields(context.files, SetLayout(setFolder).InfoFile())) {
    context.out << "Information file (Reg\\VornInfo.dat):\n";
    WriteBackupInfoFields(context.out, *fields, "  ");
  } else {
    context.out << "Information file (Reg\\VornInfo.dat): none\n";
  }
  PrintFiles(context, setFolder);
  auto mail = SetMailFolders::Open(context.files, setFolder);
  if (!mail) {
    context.out << "Mail folders: none\n";
    return kExitOk;
  }
  context.out << "Mail folders in " << mail->sourceName() << " (" << mail->count() << "):\n"
              << "  " << std::setw(8) << "messages" << "  " << std::setw(12) << "bytes" << "  " << std::left
              << std::setw(13) << "kind" << std::right << "  folder file\n";
  int folders = 0;
  int64_t messages = 0;
  uint64_t bytes = 0;
  bool damaged = false;
  const std::string archiveProblem = SummarizeSetMail(*mail, [&](const SetFolderSummary& folder) {
    std::string problem = folder.memberDamage;
    if (problem.empty() && folder.damage.damaged)
      problem = Described(folder.damage.error) + "; recoverable: " + std::to_string(folder.damage.recoverable) +
                ", deleted: " + std::to_string(folder.damage.deleted);
    if (problem.empty() && folder.error != DbxError::None) problem = Described(folder.error);
    context.out << "  " << std::setw(8) << folder.messageCount << "  " << std::setw(12) << folder.file.size << "  "
                << std::left << std::setw(13) << (problem.empty() ? folder.kind : "damaged") << std::right << "  "
                << folder.file.name << "\n";
    if (!problem.empty()) context.err << "vorn-cli set: " << folder.file.label << ": " << problem << "\n";
    damaged |= !problem.empty();
    ++folders;
    messages += folder.messageCount;
    bytes += folder.file.size;
  });
  context.out << folders << " folders, " << messages << " messages, " << bytes << " bytes\n";
  if (!archiveProblem.empty()) context.err << "vorn-cli set: " << archiveProblem << "\n";
  return damaged || !archiveProblem.empty() ? kExitFailed : kExitOk;
}

// "12/40 folders, 3456 messages" on standard error, rewritten in place at most five times a second.
class ProgressLine : public SetExportProgress {
 public:
  ProgressLine(std::ostream& err, bool quiet) : err_(err), quiet_(quiet) {}
  void Update(size_t foldersDone, size_t folders, int64_t messages) override {
    if (quiet_) return;
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && foldersDone == lastDone_ && now - lastShown_ < std::chrono::milliseconds(200)) return;
    err_ << "\rvorn-cli set: " << foldersDone << "/" << folders << " folders, " << messages << " messages"
         << std::flush;
    shown_ = true;
    lastDone_ = foldersDone;
    lastShown_ = now;
  }
  void Finish() {
    if (shown_) err_ << "\n";
  }

 private:
  std::ostream& err_;
  const bool quiet_;
  bool shown_ = false;
  size_t lastDone_ = 0;
  std::chrono::steady_clock::time_point lastShown_;
};

int Export(Context& context, const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  bool mbox = false, quiet = false, understood = true;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--mbox") mbox = true;
    else if (args[i] == "-q") quiet = true;
    else if (!args[i].empty() && args[i].front() != '-') operands.push_back(args[i]);
    else understood = false;
  }
  if (!understood || operands.size() != 2) {
    context.err << kUsage;
    return kExitUsage;
  }
  const std::string setFolder = context.programPath(operands[0]);
  const std::string outputFolder = context.programPath(operands[1]);
  ProgressLine progress(context.err, quiet);
  const SetExportOutcome outcome = ExportSetMail(context.files, setFolder, outputFolder,
                                                 mbox ? ExportForm::Mbox : ExportForm::MessageFiles, progress);
  progress.Finish();
  if (!outcome.isSet) return NoSet(context);
  if (!outcome.hasMail) return NoMail(context);
  if (!outcome.outputCreated) {
    context.err << "vorn-cli set: cannot create " << operands[1];
    if (!outcome.outputLink.empty()) context.err << ": " << outcome.outputLink << " is a link";
    context.err << "\n";
    return kExitFailed;
  }
  int64_t messages = 0;
  for (const auto& folder : outcome.folders) {
    messages += folder.messages;
    if (!folder.memberDamage.empty()) {
      context.err << "vorn-cli set: " << folder.label << ": " << folder.memberDamage << "; skipped\n";
    } else if (folder.recovered) {
      context.err << "vorn-cli set: " << folder.label << ": " << Described(folder.error)
                  << "; damaged, recovered from its block chains: " << folder.messages << " messages (" << folder.cut
                  << " cut), " << folder.deleted << " deleted\n";
    } else if (folder.error != DbxError::None) {
      context.err << "vorn-cli set: " << folder.label << ": " << Described(folder.error) << "; " << folder.messages
                  << " messages exported before it";
      // The numbered files end where the window's 16-bit counters do; an mbox file has no such end.
      if (folder.error == DbxError::CounterOverflow && !mbox) context.err << " (--mbox exports every message)";
      context.err << "\n";
    }
  }
  if (!outcome.archiveProblem.empty())
    context.err << "vorn-cli set: " << outcome.archiveProblem << "; the members after it are missing\n";
  if (!quiet)
    context.err << "vorn-cli set: " << messages << " messages of " << outcome.folders.size() << " folders exported to "
                << operands[1] << "\n";
  return outcome.Complete() ? kExitOk : kExitFailed;
}

}  // namespace

int RunSet(Context& context, const std::vector<std::string>& args) {
  if (args.size() == 2 && args[0] == "info") return Info(context, args[1]);
  if (!args.empty() && args[0] == "export") return Export(context, args);
  context.err << kUsage;
  return kExitUsage;
}

}  // namespace vorn::cli
