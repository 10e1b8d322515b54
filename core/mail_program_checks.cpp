#include "core/mail_program_checks.h"

#include <array>

#include "core/app.h"
#include "core/environment_discovery.h"
#include "core/help_contexts.h"

namespace vorn {
namespace {

struct WatchedProgram {
  const char* askedName;
  std::array<const char*, 2> spellings;
};

constexpr WatchedProgram kWatchedPrograms[] = {
    {"Msimn.exe", {"MSIMN.EXE", "msimn.exe"}},
    {"Wab.exe", {"WAB.EXE", "wab.exe"}},
};

constexpr const char* kReadOnlyRepairedText =
    "Outlook Expressのデータファイル(*.dbx)やアドレス帳(*.wab)で、\r\n"
    "ファイルの属性が[読み取り専用]になっているものを発見しました。\r\n"
    "Outlook Expressで不具合の出る可能性があります。\r\n"
    "[読み取り専用]を解除しました。";

bool ClearReadOnly(FileSystem& files, const std::string& path) {
  auto attributes = files.Attributes(path);
  if (!attributes || !(*attributes & fileattr::kReadOnly)) return false;
  return files.SetAttributes(path, fileattr::kNormal);
}

}  // namespace

int CountRunningProcesses(const Processes& processes, const std::string& programName) {
  const WatchedProgram* watched = nullptr;
  for (const auto& program : kWatchedPrograms)
    if (programName == program.askedName) watched = &program;
  if (!watched) return 0;
  auto snapshot = processes.Snapshot();
  if (!snapshot) return 0;
  int count = 0;
  for (const auto& executable : *snapshot) {
    const std::string name = TrimAtNul(executable);
    for (const char* spelling : watched->spellings)
      if (name.ends_with(spelling)) ++count;
  }
  return count;
}

bool MailStoreFree(FileSystem& files, const std::string& storeRoot) {
  const std::string folders = storeRoot + "\\Folders.dbx";
  const std::string parked = storeRoot + "\\Folders.dat";
  FsResult away = files.MoveFile(folders, parked);
  if (away != FsResult::Ok) return away != FsResult::AccessDenied;
  const FsResult back = files.MoveFile(parked, folders);
  if (back == FsResult::Ok) return true;
  // Something took hold of the store between the two renames. Put the folder list back under
  // its own name by a copy when the name is still free. As for the first rename, only denied
  // access means the store is in use.
  if (!files.Exists(folders) && files.CopyFile(parked, folders, false) == FsResult::Ok) files.DeleteFile(parked);
  return back != FsResult::AccessDenied;
}

bool CheckMailProgramBeforeRestore(App& app) {
  const int running = CountRunningProcesses(app.platform.processes, "Msimn.exe");
  const std::string kind = DetectOsKind(app.platform.environment, app.env);
  std::string text;
  if (kind == "Windows98" || kind == "WindowsMe" || kind == "Windows2000") {
    if (running >= 1) text = "Outlook Express (Msimn.exe)が起動しています。\r\n終了して下さい。";
  } else if (kind == "WindowsXP") {
    if (!MailStoreFree(app.platform.files, app.env.storeRootFolder))
      text = "Outlook Express(Msimn.exe)が実行中です。終了して下さい。";
  }
  if (text.empty()) return true;
  app.ShowMessage({text, "Vorn", MsgIcon::Critical, MsgButtons::Ok, help::IDH_OE_RUNNING});
  return false;
}

void RepairReadOnlyFiles(App& app) {
  FileSystem& files = app.platform.files;
  int found = 0;
  for (const auto& identity : app.MainWindow().identitySubkeys) {
    const std::string storeRoot = ResolveStoreRoot(app.reg, app.env, identity);
    if (storeRoot.empty()) continue;
    for (const auto& entry : files.List(storeRoot, "*"))
      if (!entry.isDirectory && ClearReadOnly(files, storeRoot + "\\" + entry.name)) found = 1;
  }
  const std::string wab = app.reg.RegReadText(RegRoot::CurrentUser, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name", "");
  if (!wab.empty() && app.FileExists(wab) && ClearReadOnly(files, wab)) ++found;
  if (found == 1 || found == 2)
    app.ShowMessage({kReadOnlyRepairedText, "修正", MsgIcon::Information, MsgButtons::Ok, help::IDH_READ_ONLY_FIXED});
}

}  // namespace vorn
