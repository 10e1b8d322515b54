#pragma once
// A whole simulated machine for tests: every platform service over a temporary host folder,
// the program on it (its run state and main window), and helpers to describe Outlook Express users.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_environment.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry_store.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_ui_services.h"
#include "ui/form_host.h"
#include "ui/modal_form.h"
#include "ui/program.h"

namespace vorn {

class RecordingRegistryEditor : public RegistryEditor {
 public:
  void Run(const std::string& commandLine) override {
    commands.push_back(commandLine);
    if (onRun) onRun(commandLine);
  }
  ScopedImportResult RunImportWithin(const std::string& commandLine,
                                     const std::vector<std::string>& allowedKeys) override {
    commands.push_back(commandLine);
    scopes.push_back(allowedKeys);
    if (onImportWithin) return onImportWithin(commandLine, allowedKeys);
    if (onRun) onRun(commandLine);
    return {true, {}, {}, {}, 0, 0};
  }
  std::vector<std::string> commands;
  std::vector<std::vector<std::string>> scopes;  // of the scoped imports, in order
  std::function<void(const std::string&)> onRun;  // what the editor does beyond recording
  std::function<ScopedImportResult(const std::string&, const std::vector<std::string>&)> onImportWithin;
};

class RecordingArchiver : public Archiver {
 public:
  int32_t Unlha(WindowHandle window, const std::string& commandLine, std::string* output, uint32_t outputSize) override {
    commands.push_back(commandLine);
    return onRun ? onRun(window, commandLine, output, outputSize) : result;
  }
  std::vector<std::string> commands;
  int32_t result = 0;
  std::function<int32_t(WindowHandle, const std::string&, std::string*, uint32_t)> onRun;  // replaces result
};

// Shows forms by recording them; a modal dialog is loaded and then driven by the next script,
// which names the dialog class it expects.
class SimFormHost : public FormHost {
 public:
  void Show(Form1&) override { ++mainWindowShown; }
  void ShowModal(ModalForm& dialog) override;
  template <typename Dialog>
  void Expect(std::function<void(Dialog&)> script) {
    dialogScripts.push_back([script](ModalForm& dialog) {
      auto* expected = dynamic_cast<Dialog*>(&dialog);
      ASSERT_NE(expected, nullptr) << "another dialog opened than the test expected";
      script(*expected);
    });
  }
  int mainWindowShown = 0;

 private:
  std::vector<std::function<void(ModalForm&)>> dialogScripts;
};

struct SimIdentity {
  std::string guid;  // without braces
  std::string userName;
  std::string storeRoot;  // as stored, e.g. "%UserProfile%\\Local Settings\\..."
};

class SimMachine {
 public:
  // A Windows XP machine (or 98 with nt = false) with Outlook Express 6 installed.
  explicit SimMachine(bool nt = true);
  ~SimMachine();

  void AddIdentity(const SimIdentity& identity);
  void SetMainIdentity(const std::string& guid);
  // Creates a file with some content below the host root.
  void CreateFile(const std::string& windowsPath, const std::string& content = "x");
  std::string ReadFile(const std::string& windowsPath) const;
  // Everything below a folder: each path (relative, with "/") and its content, "<dir>" for a folder.
  std::map<std::string, std::string> Tree(const std::string& windowsFolder) const;
  std::string ReadSetting(const std::string& valueName);

  std::filesystem::path hostRoot;
  SimRegistryStore registry;
  SimFileSystem files;
  SimEnvironment environment;
  SimProcesses processes;
  SimShell shell;
  SimUiServices ui;
  SimClock clock;
  RecordingRegistryEditor registryEditor;
  RecordingArchiver archiver;
  Platform platform;
  SimFormHost host;
  std::unique_ptr<Program> app;

  std::string profile;  // the user's profile folder on an NT machine
};

// True when the action ended the program (the simulated EndProgram throws ProgramEnded).
bool EndsProgram(const std::function<void()>& action);

// The 16 bytes of a GUID text as a binary registry value stores them.
std::vector<uint8_t> GuidBytes(const std::string& guid);

}  // namespace vorn
