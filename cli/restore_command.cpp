#include "cli/restore_command.h"

#include <algorithm>
#include <ostream>

#include "cli/backup_info_text.h"
#include "cli/exit_codes.h"
#include "cli/unattended_ui.h"
#include "restore/restore_run.h"
#include "ui/ex_info.h"
#include "ui/program.h"
#include "ui/startup.h"

namespace vorn::cli {
namespace {

constexpr const char* kUsage = "usage: vorn-cli restore SETFOLDER USER [--yes]\n";

struct RestoreRequest {
  std::string setFolder;
  std::string user;
  bool yes = false;
};

bool ParseRequest(const std::vector<std::string>& args, RestoreRequest& request) {
  std::vector<std::string> operands;
  for (const auto& arg : args) {
    if (arg == "--yes" && !request.yes) {
      request.yes = true;
    } else if (!arg.empty() && arg.front() != '-') {
      operands.push_back(arg);
    } else {
      return false;
    }
  }
  if (operands.size() != 2) return false;
  request.setFolder = operands[0];
  request.user = operands[1];
  return true;
}

// The backup information dialog's content, as the window would show it.
void PrintBackupInfo(std::ostream& err, const Program& program, const std::vector<std::string>& fields) {
  ExInfo dialog(fields, program.env.osKind, program.env.oeVersion);
  dialog.Form_Load();
  err << dialog.caption << ": " << dialog.Label3 << "\n";
  WriteBackupInfoFields(err, fields, "  ");
}

int RunFor(Program& program, UnattendedUi& ui, const RestoreRequest& request, std::ostream& err) {
  Main(program, false);
  Form1& form = program.form1();
  const auto& users = form.List1.items;
  const auto found = std::find(users.begin(), users.end(), request.user);
  if (found == users.end()) {
    err << "vorn-cli restore: no Outlook Express user named \"" << request.user << "\"\n";
    return kExitUsage;
  }
  if (!request.yes) {
    err << "vorn-cli restore: this replaces the mail, settings, address book and Favorites of \"" << request.user
        << "\" with those of the set; add --yes to go on\n";
    return kExitUsage;
  }
  ui.AnswerYes(request.setFolder);
  form.Option1_Click(Form1::kRestoreMode);
  form.List1_Click(static_cast<int>(found - users.begin()));
  const RestoreOutcome outcome =
      RunRestore(program, [&](const std::vector<std::string>& fields) { PrintBackupInfo(err, program, fields); });
  if (!outcome.started) return kExitFailed;
  if (outcome.end == RestoreEnd::NoSet) return kExitUsage;
  if (!outcome.report.mailProblem.empty())
    err << "vorn-cli restore: the mail store was not restored (" << outcome.report.mailProblem << ")\n";
  if (!outcome.Complete()) {
    err << "vorn-cli restore: incomplete\n";
    return kExitFailed;
  }
  err << "vorn-cli restore: " << request.setFolder << " restored onto \"" << request.user << "\"\n";
  return kExitOk;
}

}  // namespace

int RestoreCommand(Program& program, UnattendedUi& ui, const std::vector<std::string>& args,
                   std::string (*programPath)(const std::string&), std::ostream& err) {
  RestoreRequest request;
  if (!ParseRequest(args, request)) {
    err << kUsage;
    return kExitUsage;
  }
  request.setFolder = programPath(request.setFolder);
  try {
    return RunFor(program, ui, request, err);
  } catch (const ProgramEnded&) {
    err << "vorn-cli restore: stopped\n";
    return kExitFailed;
  }
}

}  // namespace vorn::cli
