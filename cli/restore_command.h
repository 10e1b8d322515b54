#pragma once
// "restore SETFOLDER USER [--yes]": the restore run without windows. SETFOLDER is a set's user
// folder (the one holding "Reg\Account.reg"), USER the receiving user as the main window lists
// it. Without --yes nothing is started; with it every question is answered OK or Yes. Exit
// status kExitOk only when the run reached its normal end with every step done.
#include <iosfwd>
#include <string>
#include <vector>

namespace vorn {
class Program;
}

namespace vorn::cli {

class UnattendedUi;

// program must run on ui and a NoFormHost; programPath turns SETFOLDER into the program's path.
int RestoreCommand(Program& program, UnattendedUi& ui, const std::vector<std::string>& args,
                   std::string (*programPath)(const std::string&), std::ostream& err);

}  // namespace vorn::cli
