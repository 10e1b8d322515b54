#include "cli/backup_command.h"

#include <algorithm>
#include <ostream>

#include "backup/backup_run.h"
#include "cli/exit_codes.h"
#include "ui/program.h"
#include "ui/startup.h"

namespace vorn::cli {
namespace {

constexpr const char* kUsage = "usage: vorn-cli backup USER [--compress|--plain]\n";

struct BackupRequest {
  std::string user;
  int compress = -1;  // -1: as stored, 0: plain copies, 1: "Mail.lzh"
};

bool ParseRequest(const std::vector<std::string>& args, BackupRequest& request) {
  for (const auto& arg : args) {
    if (arg == "--compress" || arg == "--plain") {
      if (request.compress != -1) return false;
      request.compress = arg == "--compress" ? 1 : 0;
    } else if (request.user.empty() && !arg.empty() && arg.front() != '-') {
      request.user = arg;
    } else {
      return false;
    }
  }
  return !request.user.empty();
}

// What a complete set holds besides the information file.
std::vector<std::string> MissingSetFiles(Program& program, const BackupSet& set) {
  const Form1& form = program.form1();
  const SetLayout layout = set.Layout();
  std::vector<std::string> required = {layout.RegFile("OE.reg"), layout.RegFile("Account.reg"),
                                       form.MnLHA.checked ? layout.MailArchive() : layout.MailFolder()};
  if (form.MnWab.checked) required.push_back(set.wabBackupFolder);
  std::vector<std::string> missing;
  for (const auto& path : required)
    if (!program.platform.files.Exists(path)) missing.push_back(path);
  return missing;
}

int RunFor(Program& program, const BackupRequest& request, std::ostream& err) {
  Main(program, false);
  Form1& form = program.form1();
  const auto& users = form.List1.items;
  const auto found = std::find(users.begin(), users.end(), request.user);
  if (found == users.end()) {
    err << "vorn-cli backup: no Outlook Express user named \"" << request.user << "\"\n";
    return kExitUsage;
  }
  if (request.compress == 1 && !form.MnLHA.enabled) {
    err << "vorn-cli backup: the archiver is not available; use --plain\n";
    return kExitFailed;
  }
  if (request.compress != -1) form.MnLHA.checked = request.compress == 1;
  form.Option1_Click(Form1::kBackupMode);
  form.List1_Click(static_cast<int>(found - users.begin()));
  const BackupOutcome outcome = RunBackup(program);
  const auto missing = MissingSetFiles(program, outcome.set);
  for (const auto& path : missing) err << "vorn-cli backup: missing " << path << "\n";
  if (!outcome.infoWritten) err << "vorn-cli backup: the information file was not written\n";
  if (!outcome.infoWritten || !missing.empty()) return kExitFailed;
  err << "vorn-cli backup: " << outcome.set.userBackupFolder << "\n";
  return kExitOk;
}

}  // namespace

int BackupCommand(Program& program, const std::vector<std::string>& args, std::ostream& err) {
  BackupRequest request;
  if (!ParseRequest(args, request)) {
    err << kUsage;
    return kExitUsage;
  }
  try {
    return RunFor(program, request, err);
  } catch (const ProgramEnded&) {
    err << "vorn-cli backup: stopped; the set is incomplete\n";
    return kExitFailed;
  }
}

}  // namespace vorn::cli
