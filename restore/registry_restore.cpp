#include "restore/registry_restore.h"

#include "core/help_contexts.h"
#include "core/signature_texts.h"
#include "platform/registry_path.h"
#include "platform/text.h"
#include "restore/reg_file_rewriting.h"
#include "restore/signature_lines.h"
#include "set/set_exports.h"
#include "set/set_layout.h"
#include "set/set_reading.h"

namespace vorn {
namespace {

constexpr const char* kAccountsKey = "Software\\Microsoft\\Internet Account Manager\\Accounts";
constexpr const char* kUnicodeHeaderWords = "Windows Registry Editor Version 5.00";
constexpr const char* kUserProfileVariable = "%UserProfile%";
constexpr size_t kInfoUserIdField = 5;  // "UserID" of the information file

constexpr const char* kAccountConfirmation =
    "このバックアップファイルは以前のOutlook Express環境で\r\n"
    "メイン以外のユーザーが使用していたファイルです。\r\n"
    "リストからメイン以外のユーザーを正しく選んだか\r\n"
    "確認の上、進めて下さい。";

std::string IdentitySettingsKey(const std::string& identityGuid) {
  return "Identities\\" + identityGuid + "\\Software\\Microsoft\\Outlook Express\\5.0";
}

// A text derived from a set file, written into the run's work folder and imported from there.
void ImportDerived(RestoreContext& run, const std::string& text, const std::string& derivedName,
                   const std::string& setFileName) {
  const std::string derived = run.WorkFile(derivedName);
  if (run.state.workFolder.empty() || !WriteRegFileAnsi(run.files(), derived, text)) {
    run.report.failures.push_back(setFileName + " の設定を取り込むための一時ファイルを書き込めませんでした");
    return;
  }
  ImportSetFile(run, derived, setFileName);
  run.files().DeleteFile(derived);
}

// The set file's text with the backed-up identity's GUID replaced by the receiving one's.
void ImportRewritten(RestoreContext& run, const std::string& text, const std::string& oldGuid,
                     const std::string& derivedName, const std::string& setFileName) {
  ImportDerived(run, ReplaceIgnoringCase(text, oldGuid, run.env().selectedIdentityGuid), derivedName, setFileName);
}

// A set file's text as the running family's editor imports it: converted in memory for the 98
// family; nullopt when it cannot be read or has no kind the family can take.
std::optional<std::string> ReadForRunningFamily(RestoreContext& run, const std::string& path) {
  if (!run.files().Exists(path)) return std::nullopt;
  const int kind = RegFileKind(run.files(), path);
  if (kind == kRegUnicodeExport)
    return run.env().IsNt() ? ReadRegFileUnicode(run.files(), path) : ConvertToRegedit4(run.files(), path);
  if (kind == kRegUnknown && run.env().IsNt()) return std::nullopt;
  return ReadRegFileText(run.files(), path);
}

// The identity an identity-specific export names in its first key below "Identities".
std::string IdentityGuidOfKeys(const std::string& text) {
  const std::string marker = "[HKEY_CURRENT_USER\\Identities\\{";
  const size_t at = AsciiLower(text).find(AsciiLower(marker));
  if (at == std::string::npos) return {};
  return FindOldGuid(text.substr(at + marker.size() - 1));
}

// Account.reg: identity-specific accounts come under the receiving identity; a file the
// running family imports as it is goes in unchanged.
void ImportAccounts(RestoreContext& run, const std::string& path) {
  const auto text = ReadForRunningFamily(run, path);
  if (!text) {
    run.report.failures.push_back("Account.reg を読めませんでした");
    return;
  }
  const std::string oldGuid = IdentityGuidOfKeys(*text);
  const bool rewrite = !oldGuid.empty() && !EqualsIgnoringAsciiCase(oldGuid, run.env().selectedIdentityGuid);
  if (rewrite || (!run.env().IsNt() && RegFileKind(run.files(), path) == kRegUnicodeExport))
    ImportRewritten(run, *text, oldGuid, "NewAccount.reg", "Account.reg");
  else
    ImportSetFile(run, path, "Account.reg");
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

// The set is the main user's when its account file is the shared export, whose association
// names the set's own identity: an identity without accounts of its own leaves the shared
// export in its set too. A set without its information file has only the file to tell.
bool HoldsMainUsersAccounts(RestoreContext& run, const std::string& path) {
  const std::string associated = FindAssociatedID(run.files(), path);
  if (associated.empty()) return false;
  const auto fields = ReadBackupInfoFields(run.files(), SetLayout(run.state.restoreFolder).InfoFile());
  const std::string backedUp = fields && fields->size() > kInfoUserIdField ? (*fields)[kInfoUserIdField] : "";
  return backedUp.empty() || EqualsIgnoringAsciiCase(backedUp, "{" + associated + "}");
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
  for (const auto& deletion : result.refusedDeletions) run.report.refusedDeletions.push_back(deletion);
  if (result.complete) return;
  if (result.badLine)
    run.report.failures.push_back(setFileName + " の " + std::to_string(result.badLine) +
                                  " 行目が読めないため、このファイルの設定は取り込みませんでした");
  else if (result.refusedLine)
    run.report.failures.push_back(setFileName + " の " + std::to_string(result.refusedLine) +
                                  " 行目の変更をレジストリが受け付けませんでした");
  else
    run.report.failures.push_back(setFileName + " を取り込めませんでした");
}

void ImportConverted(RestoreContext& run, const std::string& setFileName) {
  const auto text = ConvertToRegedit4(run.files(), run.RegFolder() + "\\" + setFileName);
  if (!text) {
    run.report.failures.push_back(setFileName + " を読めませんでした");
    return;
  }
  ImportDerived(run, *text, "New" + setFileName, setFileName);
}

void N_ReAccount(RestoreContext& run) {
  const std::string path = run.RegFolder() + "\\Account.reg";
  switch (RegFileKind(run.files(), path)) {
    case kRegUnicodeExport:
      run.state.sameOsFamily = run.env().IsNt();
      break;
    case kRegConverted:
      // Converted by an earlier restore on the 98 family: a set of the 2000 family, so a second
      // restore on 98 treats it as the first one did.
      run.state.sameOsFamily = run.env().IsNt();
      break;
    default:
      break;
  }
  if (HoldsMainUsersAccounts(run, path)) {
    // The import brings the association of the machine the set came from; the main user here
    // stays the one it was.
    RegistryStore& store = run.app.reg.Store();
    const std::optional<RegValue> association = store.ReadValue(RegRoot::CurrentUser, kAccountsKey, "AssociatedID");
    ImportAccounts(run, path);
    if (association)
      store.WriteValue(RegRoot::CurrentUser, kAccountsKey, "AssociatedID", *association);
    else
      store.DeleteValue(RegRoot::CurrentUser, kAccountsKey, "AssociatedID");
    if (store.ReadValue(RegRoot::CurrentUser, kAccountsKey, "AssociatedID") != association)
      run.report.failures.push_back("メイン ユーザーの設定 (AssociatedID) を元に戻せませんでした");
    return;
  }
  run.app.platform.ui.Beep();
  if (run.Show({kAccountConfirmation, "最終確認", MsgIcon::Information, MsgButtons::OkCancel, help::IDH_OTHER_USER_SET}) != MsgAnswer::Ok)
    run.state.accountStepCancelled = true;
}

void ReOE(RestoreContext& run) {
  FileSystem& files = run.files();
  const std::string oe = run.RegFolder() + "\\OE.reg";
  const std::string storeRootBefore =
      run.app.reg.RegReadText(RegRoot::CurrentUser, IdentitySettingsKey(run.env().selectedIdentityGuid), "Store Root");
  const std::optional<std::string> text = ReadForRunningFamily(run, oe);
  const std::string oldGuid = text ? FindOldGuid(*text) : std::string();
  if (!text)
    run.report.failures.push_back(files.Exists(oe) ? "OE.reg の形式が分かりません" : "OE.reg がありません");
  else if (!text->empty())
    ImportRewritten(run, *text, oldGuid, "NewOE.reg", "OE.reg");
  if (run.env().IsNt()) {
    ResetStoreRoot(run, ExpandUserProfile(run, storeRootBefore));
    return;
  }
  ResetStoreRoot(run, run.env().storeRootFolder);
  const std::string sig = run.RegFolder() + "\\Sig.reg";
  if (run.state.signaturesFor98)
    ImportRewritten(run, *run.state.signaturesFor98, oldGuid, "NewSig.reg", "Sig.reg");
  else if (files.Exists(sig))
    ImportRewritten(run, ReadRegFileText(files, sig), oldGuid, "NewSig.reg", "Sig.reg");
}

std::string RRR(const std::string& text) {
  return ReplaceIgnoringCase(AsWrittenAndReadBack(text), kUnicodeHeaderWords, "REGEDIT4");
}

void PrepareSigFor98(RestoreContext& run) {
  FileSystem& files = run.files();
  const std::string path = run.RegFolder() + "\\Sig.reg";
  run.state.signaturesFor98.reset();
  if (!files.Exists(path) || RegFileKind(files, path) != kRegUnicodeExport) return;
  const auto converted = ConvertToRegedit4(files, path);
  if (!converted) {
    run.report.failures.push_back("Sig.reg を読めませんでした");
    return;
  }
  run.state.signaturesFor98 = RRR(JoinSignatureLines(*converted));
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
