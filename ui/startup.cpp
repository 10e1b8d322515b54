#include "ui/startup.h"

#include "core/environment_discovery.h"
#include "core/help_contexts.h"
#include "restore/leftover_folders.h"
#include "ui/program.h"

namespace vorn {
namespace {

constexpr int kMinimumOeVersion = 50023;
constexpr int kFirstRecommendedOeVersion = 50029;
const char* const kCrLf = "\r\n";

void CheckOeVersion(App& app) {
  const int n = OeVersionNumber(app.env.oeVersion);
  if (n < kMinimumOeVersion) {
    app.ShowMessage({std::string("Vorn はOutlook Express 5.00.2314.1300 以前のバージョンでの") + kCrLf +
                         "ご利用はできません。セキュリティの面からも最新バージョンを推奨します。",
                     "Vorn", MsgIcon::Critical, MsgButtons::Ok, help::IDH_OE_TOO_OLD});
    app.EndProgram();
  }
  if (n < kFirstRecommendedOeVersion) {
    app.ShowMessage({"現在のOutlook Express(OE)のバージョンは " + app.env.oeVersion + "です。" + kCrLf +
                         "バックアップ時のバージョンがこれ以降の場合は、" + "OE をバージョンアップして下さい。",
                     "OE5.01以降⇒OE5.0 は　X です. 復元の際、ご注意下さい。", MsgIcon::Warning, MsgButtons::Ok, help::IDH_OE_VERSION_NOTICE});
  }
}

void FillUserLists(App& app, Form1& form) {
  auto subkeys = ListIdentities(app.reg);
  if (subkeys.empty()) {
    app.ShowMessage({std::string("Outlook Expressのユーザーが見つかりません。") + kCrLf + "終了します。", "Vorn",
                     MsgIcon::Warning, MsgButtons::Ok, help::IDH_NO_OE_USER});
    app.EndProgram();
  }
  form.EnsureLoaded();
  for (const auto& subkey : OrderIdentities(subkeys, app.env.mainIdentityGuid)) {
    form.List1.AddItem(ReadUserName(app.reg, subkey));
    form.List2.AddItem(subkey);
  }
}

// A system file on the running family: <system>\name (NT) or <windows>\system\name (9x).
std::string SystemFile(const App& app, const std::string& name) {
  return app.env.systemFolder + (app.env.IsNt() ? "\\" : "\\system\\") + name;
}

void CheckArchiver(App& app, Form1& form) {
  app.archiverAvailable = app.FileExists(SystemFile(app, "unlha32.dll"));
  if (app.archiverAvailable) return;
  MenuItem& item = form.MnLHA;
  item.enabled = false;
  item.checked = false;
  SaveSwitch(app.reg, Switch::CompressMail, 0);
}

void CheckImagehlp(App& app) {
  app.imagehlpPresent = app.FileExists(SystemFile(app, "Imagehlp.dll"));
  if (app.imagehlpPresent) return;
  const bool checkerFound = app.FileExists(app.env.systemFolder + "\\System\\SFC.exe");
  std::string text = std::string("Imagehlp.dllの消失が判明しました!!") + kCrLf + "OEの不具合につながります。" + kCrLf +
                     "Imagehlp.dllを抽出して下さい。" + kCrLf;
  if (checkerFound) text += "Sfc.exeを起動します。";
  MsgAnswer answer = app.ShowMessage({text, "不具合発見!!", MsgIcon::Critical, MsgButtons::YesNo, help::IDH_IMAGEHLP_MISSING});
  if (answer == MsgAnswer::Yes && !app.env.IsNt() && checkerFound)
    app.platform.processes.Start(app.env.systemFolder + "\\system\\SFC.exe", WindowStyle::Normal);
}

void EnableSiblingTools(App& app, Form1& form) {
  form.MnChanger.enabled = app.FileExists(app.ProgramFolder() + "\\Ruvelt.exe");
  // The second tool is enabled the same way, so a user who has it can start it.
  form.MnComp.enabled = app.FileExists(app.ProgramFolder() + "\\Dostrim.exe");
}

// What an interrupted restore left beside any user's Store Root.
void ReportLeftoverRestoreFolders(App& app, const Form1& form) {
  std::vector<LeftoverFolder> found;
  for (const auto& identity : form.List2.items)
    for (auto& folder : FindLeftoverFolders(app.platform.files, ResolveStoreRoot(app.reg, app.env, identity)))
      found.push_back(std::move(folder));
  if (!found.empty()) app.ShowMessage({LeftoverFoldersText(found), "警告", MsgIcon::Warning, MsgButtons::Ok, 0});
}

}  // namespace

void Main(Program& program, bool anotherCopyRunning) {
  App& app = program;
  Form1& form = program.form1();
  app.extraListFlag = false;
  if (anotherCopyRunning) app.EndProgram();
  Environment& environment = app.platform.environment;
  DetectOsFamily(environment, app.env);
  DetectDesktop(environment, app.env);
  LoadBackupPath(app.reg, app.env, app.settings);
  LoadEnvironment(environment, app.reg, app.env);
  MenuSwitches switches;
  LoadSettings(app.reg, app.settings, switches);
  form.SetMenuSwitches(switches);
  ReadMainIdentity(app.reg, app.env);
  CheckOeVersion(app);
  FillUserLists(app, form);
  if (app.env.addressBookMissing)
    app.ShowMessage({"アドレス帳が見つかりませんでした。", "警告", MsgIcon::Warning, MsgButtons::Ok, help::IDH_ADDRESS_BOOK_MISSING});
  form.visible = true;
  program.host.Show(form);
  ReportLeftoverRestoreFolders(app, form);
  CheckArchiver(app, form);
  CheckImagehlp(app);
  EnableSiblingTools(app, form);
}

}  // namespace vorn
