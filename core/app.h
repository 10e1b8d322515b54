#pragma once
// The process-wide state of one run of the program: the platform, the environment record,
// the settings, the start-up results and the main window.
#include <memory>
#include <string>

#include "core/environment_record.h"
#include "core/registry_access.h"
#include "core/settings.h"
#include "platform/platform.h"

namespace vorn {

class Form1;
class FormHost;

struct Message {
  std::string text;
  std::string title;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  int helpContext = 0;
};

class App {
 public:
  App(Platform& platform, FormHost& host);
  ~App();

  Platform& platform;
  FormHost& host;
  RegistryAccess reg;
  EnvironmentRecord env;
  Settings settings;
  bool archiverAvailable = false;
  bool imagehlpPresent = false;
  bool extraListFlag = false;

  Form1& form1() { return *form1_; }
  std::string ProgramFolder() const { return platform.environment.ProgramFolder(); }
  std::string HelpFile() const { return ProgramFolder() + "\\Vorn4.chm"; }
  bool FileExists(const std::string& path) const;
  // A modal message box with a Help button on the help file, owned by the main window.
  MsgAnswer ShowMessage(const Message& message);
  [[noreturn]] void EndProgram();

 private:
  std::unique_ptr<Form1> form1_;
};

}  // namespace vorn
