#include "core/signature_texts.h"

#include "core/registry_access.h"

namespace vorn {
namespace {

void RewriteSignatureTexts(RegistryAccess& reg, const std::string& identitySubkey, bool asMultiString) {
  const std::string key = SignaturesKey(identitySubkey);
  const auto subkeys = reg.RegEnumSubkeys(RegRoot::CurrentUser, key);
  if (subkeys.empty()) return;
  reg.SetMultiStringMode(asMultiString);
  for (const auto& subkey : subkeys) {
    const std::string signatureKey = key + "\\" + subkey;
    // A value the reader cannot hold (missing, or longer than its buffer) is left as it is:
    // writing back the empty text would wipe the signature.
    RegReadResult read = reg.RegReadValue(RegRoot::CurrentUser, signatureKey, "text");
    if (read.status == kRegNoValue) continue;
    reg.RegWriteValue(RegRoot::CurrentUser, signatureKey, "text", TrimAtNul(read.Text()));
  }
  reg.SetMultiStringMode(false);
}

}  // namespace

std::string SignaturesKey(const std::string& identitySubkey) {
  return "Identities\\" + identitySubkey + "\\Software\\Microsoft\\Outlook Express\\5.0\\signatures";
}

void SignaturesToMultiString(RegistryAccess& reg, const std::string& identitySubkey) {
  RewriteSignatureTexts(reg, identitySubkey, true);
}

void NormalizeSignatureTexts(RegistryAccess& reg, const std::string& identitySubkey) {
  RewriteSignatureTexts(reg, identitySubkey, false);
}

}  // namespace vorn
