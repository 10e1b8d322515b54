#include "tests/backup/backup_machine.h"

#include "platform/folder_path.h"
#include "ui/form1.h"
#include "ui/startup.h"

namespace vorn {

ExportCommand ParseExportCommand(const std::string& commandLine) {
  const std::string prefix = "Regedit.exe /e ";
  if (commandLine.rfind(prefix, 0) != 0) return {};
  std::string rest = commandLine.substr(prefix.size());
  size_t split = rest.find(" \"HKEY_");
  if (split == std::string::npos) split = rest.find(" HKEY_");
  if (split == std::string::npos) return {};
  std::string key = rest.substr(split + 1);
  if (key.front() == '"') key = key.substr(1, key.size() - 2);
  return {rest.substr(0, split), key};
}

BackupMachine::BackupMachine(bool nt, bool withMainIdentity) : m(nt), nt(nt) {
  const std::string roots = nt ? "%UserProfile%\\Local Settings\\Application Data\\Identities\\{"
                               : "C:\\WINDOWS\\Application Data\\Identities\\{";
  m.AddIdentity({kTaroGuid, "taro", roots + kTaroGuid + "}\\Microsoft\\Outlook Express\\"});
  m.AddIdentity({kHanakoGuid, "hanako", roots + kHanakoGuid + "}\\Microsoft\\Outlook Express"});
  if (withMainIdentity) m.SetMainIdentity(kTaroGuid);
  desktop = nt ? m.profile + "\\デスクトップ" : "C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ";
  temp = *m.environment.Variable("TEMP");
  CreateFolderPath(m.files, temp + "\\");
  for (const auto& guid : {kTaroGuid, kHanakoGuid}) {
    for (const char* name : {"Folders.dbx", "受信トレイ.dbx", "Sent Items.dbx"})
      m.CreateFile(StoreRoot(guid) + "\\" + name, std::string("mail of ") + name);
    m.CreateFile(StoreRoot(guid) + "\\pop3uidl.txt", "not mail");
  }
  const std::string favorites = m.environment.specialFolders["Favorites"];
  m.CreateFile(favorites + "\\desktop.ini", "[.ShellClassInfo]");
  m.CreateFile(favorites + "\\Links\\Vorn.url", "[InternetShortcut]\r\nURL=http://example.jp/vorn\r\n");
  m.CreateFile(favorites + "\\ニュース.url", "[InternetShortcut]\r\nURL=http://example.jp/?a=1&b=2\r\n");
  m.registryEditor.onRun = [this](const std::string& commandLine) {
    ExportCommand command = ParseExportCommand(commandLine);
    for (const auto& key : keysWithoutExport)
      if (command.key == key) return;
    if (!command.file.empty()) m.CreateFile(command.file, "REGEDIT4\r\n\r\n[" + command.key + "]\r\n");
  };
}

std::string BackupMachine::StoreRoot(const std::string& guid) const {
  return (nt ? m.profile + "\\Local Settings\\Application Data" : std::string("C:\\WINDOWS\\Application Data")) +
         "\\Identities\\{" + guid + "}\\Microsoft\\Outlook Express";
}

void BackupMachine::StartAndPick(int userIndex) {
  Main(*m.app, false);
  Form1& form = m.app->form1();
  form.Option1_Click(Form1::kBackupMode);
  form.List1_Click(userIndex);
}

void BackupMachine::PressOk() { m.app->form1().Command1_Click(Form1::kOk); }

bool BackupMachine::PressOkEnds() {
  try {
    PressOk();
    return false;
  } catch (const ProgramEnded&) {
    return true;
  }
}

std::string BackupMachine::UserFolder(const std::string& name) const { return desktop + "\\Vorn_bkup\\" + name; }

bool BackupMachine::SetHas(const std::string& relative) const { return m.files.Exists(UserFolder() + "\\" + relative); }

void BackupMachine::WriteSetting(const std::string& name, int16_t value) {
  RegistryAccess(m.registry).RegWriteValue(RegRoot::CurrentUser, "Software\\Vorn", name, value);
}

std::vector<ExportCommand> BackupMachine::Exports() const {
  std::vector<ExportCommand> exports;
  for (const auto& command : m.registryEditor.commands) exports.push_back(ParseExportCommand(command));
  return exports;
}

}  // namespace vorn
