#include "tests/support/sim_machine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/codepage.h"

namespace vorn {
namespace {

std::filesystem::path FreshHostRoot() {
  static int counter = 0;
  auto root = std::filesystem::temp_directory_path() /
              ("vorn-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root);
  return root;
}

RegValue Text(const std::string& utf8) {
  std::string ansi = Utf8ToCp932(utf8);
  RegValue value{regtype::kSz, {ansi.begin(), ansi.end()}};
  value.data.push_back(0);
  return value;
}

}  // namespace

void SimFormHost::ShowModal(ModalForm& dialog) {
  dialog.Form_Load();
  ASSERT_FALSE(dialogScripts.empty()) << "a dialog opened that the test did not expect";
  auto script = dialogScripts.front();
  dialogScripts.erase(dialogScripts.begin());
  script(dialog);
}

bool EndsProgram(const std::function<void()>& action) {
  try {
    action();
    return false;
  } catch (const ProgramEnded&) {
    return true;
  }
}

std::vector<uint8_t> GuidBytes(const std::string& guid) {
  std::string hex;
  for (char c : guid)
    if (std::isxdigit(static_cast<unsigned char>(c))) hex += c;
  std::vector<uint8_t> raw;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) raw.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  // Data1, Data2 and Data3 are stored little-endian.
  std::swap(raw[0], raw[3]);
  std::swap(raw[1], raw[2]);
  std::swap(raw[4], raw[5]);
  std::swap(raw[6], raw[7]);
  return raw;
}

SimMachine::SimMachine(bool nt)
    : hostRoot(FreshHostRoot()),
      files(hostRoot),
      environment(files),
      shell(files),
      platform{registry, environment, files, processes, shell, ui, clock, registryEditor, archiver} {
  if (nt) {
    environment.SetUpWindowsXp();
    profile = *environment.Variable("USERPROFILE");
    CreateFile("C:\\WINDOWS\\system32\\unlha32.dll");
    CreateFile("C:\\WINDOWS\\system32\\Imagehlp.dll");
  } else {
    environment.SetUpWindows98();
    CreateFile("C:\\WINDOWS\\system\\unlha32.dll");
    CreateFile("C:\\WINDOWS\\system\\Imagehlp.dll");
  }
  const std::string oe = "C:\\Program Files\\Outlook Express\\msimn.exe";
  CreateFile(oe);
  environment.executableVersions[oe] = {6, 0, 2900, 5512};
  registry.WriteValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\msimn.exe", "",
                      Text(nt ? "%ProgramFiles%\\Outlook Express\\msimn.exe" : oe));
  const std::string wab = (nt ? profile + "\\Application Data\\Microsoft\\Address Book\\" : std::string("C:\\WINDOWS\\Application Data\\Microsoft\\Address Book\\")) + "taro.wab";
  CreateFile(wab, "wab");
  registry.WriteValue(RegRoot::CurrentUser, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name", "", Text(wab));
  files.CreateDirectory(nt ? profile : "C:\\WINDOWS");
  std::filesystem::create_directories(files.HostPath(environment.SpecialFolder("Desktop")));
  app = std::make_unique<Program>(platform, host);
}

SimMachine::~SimMachine() {
  app.reset();
  std::error_code ec;
  std::filesystem::remove_all(hostRoot, ec);
}

void SimMachine::AddIdentity(const SimIdentity& identity) {
  const std::string key = "Identities\\{" + identity.guid + "}";
  registry.WriteValue(RegRoot::CurrentUser, key, "Username", Text(identity.userName));
  registry.WriteValue(RegRoot::CurrentUser, key + "\\Software\\Microsoft\\Outlook Express\\5.0", "Store Root",
                      Text(identity.storeRoot));
}

void SimMachine::SetMainIdentity(const std::string& guid) {
  registry.WriteValue(RegRoot::CurrentUser, "Software\\Microsoft\\Internet Account Manager\\Accounts", "AssociatedID",
                      {regtype::kBinary, GuidBytes(guid)});
}

void SimMachine::CreateFile(const std::string& windowsPath, const std::string& content) {
  auto host = files.HostPath(windowsPath);
  std::filesystem::create_directories(host.parent_path());
  std::ofstream(host, std::ios::binary) << content;
}

std::string SimMachine::ReadFile(const std::string& windowsPath) const {
  std::ifstream in(files.HostPath(windowsPath), std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

std::map<std::string, std::string> SimMachine::Tree(const std::string& windowsFolder) const {
  std::map<std::string, std::string> tree;
  const std::filesystem::path root = files.HostPath(windowsFolder);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    tree[std::filesystem::relative(entry.path(), root).string()] = entry.is_directory() ? "<dir>" : content.str();
  }
  return tree;
}

std::string SimMachine::ReadSetting(const std::string& valueName) {
  return RegistryAccess(registry).RegReadText(RegRoot::CurrentUser, "Software\\Vorn", valueName);
}

}  // namespace vorn
