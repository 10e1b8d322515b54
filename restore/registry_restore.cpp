#include "restore/registry_restore.h"

#include "backup/set_exports.h"
#include "backup/signature_texts.h"
#include "core/help_contexts.h"
#include "platform/registry_path.h"
#include "platform/text.h"
#include "restore/reg_file_rewriting.h"
#include "restore/signature_lines.h"

namespace vorn {
namespace {

constexpr const char* kAccountsKey = "Software\\Microsoft\\Internet Account Manager\\Accounts";
constexpr const char* kUnicodeHeaderWords = "Windows Registry Editor Version 5.00";
constexpr const char* kUserProfileVariable = "%UserProfile%";

constexpr const char* kAccountConfirmation =
    "このバックアップファイルは以前のOutlook Express環境で\r\n"
    "メイン以外のユーザーが使用していたファイルです。\r\n"
    "リストからメイン以外のユーザーを正しく選んだか\r\n"
    "確認の上、進めて下さい。";

std::string IdentitySettingsKey(const std::string& identityGuid) {
  return "Identities\\" + identityGuid + "\\Software\\Microsoft\\Outlook Express\\5.0";
}

// The set file's text with the backed-up identity's GUID replaced by the receiving one's,
// written to the temporary file and imported from it.
void ImportRewritten(RestoreContext& run, const std::string& text, const std::string& oldGuid,
                     const std::string& temporaryName, const std::string& setFileName) {
  const std::string rewritten = run.RegFolder() + "\\" + temporaryName;
  if (!WriteRegFileAnsi(run.files(), rewritten, ReplaceIgnoringCase(text, oldGuid, run.env().selectedIdentityGuid))) {
    run.report.failures.push_back(rewritten + " を書き込めませんでした");
    return;
  }
  ImportSetFile(run, rewritten, setFileName);
  run.files().DeleteFile(rewritten);
}

void ResetStoreRoot(RestoreContext& run, const std::string& storeRoot) {
  const std::string key = IdentitySettingsKey(run.env().selectedIdentityGuid);
  run.app.reg.RegDeleteValue(RegRoot::CurrentUser, key, "Store Root");
  if (!run.app.reg.RegWriteValue(RegRoot::CurrentUser, key, "Store Root", storeRoot))
    run.report.failures.push_back("Store Root を書き込めませんでした");
}

std::string ExpandUserProfile(const RestoreContext& run, const std::string& storeRoot) {
  const std::string variable = kUserProfileVariable;
  if (storeRoot.compare(0, variable.size(), variable) != 0) return storeRoot;
  return run.env().userProfileFolder + storeRoot.substr(variable.size());
}

}  // namespace

std::vector<std::string> ImportScopeOf(const std::string& setFileName, const std::string& identityGuid) {
  if (EqualsIgnoringAsciiCase(setFileName, "OE.reg")) return {IdentitySoftwareKey(identityGuid)};
  if (EqualsIgnoringAsciiCase(setFileName, "Sig.reg")) return {IdentitySignaturesKey(identityGuid)};
  if (EqualsIgnoringAsciiCase(setFileName, "Account.reg")) return {kSharedAccountsKey, IdentityAccountsKey(identityGuid)};
  if (EqualsIgnoringAsciiCase(setFileName, "Remote.reg")) return {kRemoteAccessKey};
  if (EqualsIgnoringAsciiCase(setFileName, "Locations.reg")) return {kTelephonyLocationsKey};
  if (EqualsIgnoringAsciiCase(setFileName, "FavoOrder.reg")) return {kFavoritesOrderKey};
  return {};
}

void ImportSetFile(RestoreContext& run, const std::string& path, const std::string& setFileName) {
  const ScopedImportResult result = run.app.platform.registryEditor.RunImportWithin(
      "regedit.exe /s \"" + path + "\"", ImportScopeOf(setFileName, run.env().selectedIdentityGuid));
  run.report.Skipped(result.skippedKeys);
  if (!result.complete) run.report.failures.push_back(setFileName + ": " + result.problem);
}

void N_ReAccount(RestoreContext& run) {
  const std::string path = run.RegFolder() + "\\Account.reg";
  switch (RegFileKind(run.files(), path)) {
    case kRegUnicodeExport:
      if (run.env().IsNt()) {
        run.state.sameOsFamily = true;
      } else {
        ConvertToRegedit4(run.files(), path);
        run.state.sameOsFamily = false;
      }
      break;
    case kRegConverted:
      // Converted by an earlier restore on the 98 family: a set of the 2000 family, so a second
      // restore on 98 treats it as the first one did.
      run.state.sameOsFamily = run.env().IsNt();
      break;
    default:
      break;
  }
  if (FindAssociatedID(run.files(), path)) {
    ImportSetFile(run, path, "Account.reg");
    run.app.reg.RegDeleteValue(RegRoot::CurrentUser, kAccountsKey, "AssociatedID");
    return;
  }
  run.app.platform.ui.Beep();
  if (run.Show(kAccountConfirmation, "最終確認", MsgIcon::Information, MsgButtons::OkCancel, help::IDH_OTHER_USER_SET) != MsgAnswer::Ok)
    run.state.accountStepCancelled = true;
}

void ReOE(RestoreContext& run) {
  FileSystem& files = run.files();
  const std::string oe = run.RegFolder() + "\\OE.reg";
  const std::string storeRootBefore =
      run.app.reg.RegReadText(RegRoot::CurrentUser, IdentitySettingsKey(run.env().selectedIdentityGuid), "Store Root");
  if (!run.env().IsNt()) {
    if (RegFileKind(files, oe) == kRegUnicodeExport) ConvertToRegedit4(files, oe);
    const std::string text = ReadRegFileText(files, oe);
    const std::string oldGuid = FindOldGuid(text);
    ImportRewritten(run, text, oldGuid, "NewOE.reg", "OE.reg");
    ResetStoreRoot(run, run.env().storeRootFolder);
    const std::string sig = run.RegFolder() + "\\Sig.reg";
    if (files.Exists(sig)) ImportRewritten(run, ReadRegFileText(files, sig), oldGuid, "NewSig.reg", "Sig.reg");
    return;
  }
  std::string text;
  switch (RegFileKind(files, oe)) {
    case kRegUnicodeExport:
      text = ReadRegFileUnicode(files, oe).value_or("");
      break;
    case kRegConverted:
    case kRegAnsiExport:
      text = ReadRegFileText(files, oe);
      break;
    default:
      run.report.failures.push_back("OE.reg の形式が分かりません");
      break;
  }
  if (!text.empty()) ImportRewritten(run, text, FindOldGuid(text), "NewOE.reg", "OE.reg");
  ResetStoreRoot(run, ExpandUserProfile(run, storeRootBefore));
}

void RRR(FileSystem& files, const std::string& path, const std::string& text) {
  WriteRegFileAnsi(files, path, text);
  WriteRegFileAnsi(files, path, ReplaceIgnoringCase(ReadRegFileText(files, path), kUnicodeHeaderWords, "REGEDIT4"));
}

void PrepareSigFor98(RestoreContext& run) {
  FileSystem& files = run.files();
  const std::string path = run.RegFolder() + "\\Sig.reg";
  if (!files.Exists(path) || RegFileKind(files, path) != kRegUnicodeExport) return;
  if (!ConvertToRegedit4(files, path)) {
    run.report.failures.push_back(path + " を書き換えられませんでした");
    return;
  }
  RRR(files, path, JoinSignatureLines(ReadRegFileText(files, path)));
}

void RestoreSignatureTexts(RestoreContext& run) {
  const std::string path = run.RegFolder() + "\\Sig.reg";
  const int kind = RegFileKind(run.files(), path);
  if (!run.files().Exists(path) || (kind != kRegConverted && kind != kRegAnsiExport)) return;
  const std::string key = SignaturesKey(run.env().selectedIdentityGuid);
  const auto subkeys = run.app.reg.RegEnumSubkeys(RegRoot::CurrentUser, key);
  // Each text goes to the signature key it was exported from, also when the receiving identity
  // holds other signatures besides.
  for (const auto& signature : ReadSignatureTexts(ReadRegFileLines(run.files(), path))) {
    for (const auto& subkey : subkeys)
      if (RegNameEquals(subkey, signature.subkey))
        run.app.reg.RegWriteValue(RegRoot::CurrentUser, key + "\\" + subkey, "text", signature.text);
  }
}

void RE_FavoOrder(RestoreContext& run) {
  const std::string path = run.RegFolder() + "\\FavoOrder.reg";
  if (!run.files().Exists(path)) return;
  const int kind = RegFileKind(run.files(), path);
  const bool suits = run.env().IsNt() ? kind == kRegUnicodeExport : kind == kRegConverted || kind == kRegAnsiExport;
  if (suits) ImportSetFile(run, path, "FavoOrder.reg");
}

void RE_Locations(RestoreContext& run) {
  const std::string path = run.RegFolder() + "\\Locations.reg";
  if (run.env().IsNt() && run.files().Exists(path)) ImportSetFile(run, path, "Locations.reg");
}

}  // namespace vorn
