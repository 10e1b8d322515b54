#pragma once
// Rewrites every signature "text" value of an identity in place, as a multi-string or as a
// plain string, so that an export carries the texts in the wanted form.
#include <string>

namespace vorn {

class RegistryAccess;

std::string SignaturesKey(const std::string& identitySubkey);

void SignaturesToMultiString(RegistryAccess& reg, const std::string& identitySubkey);
void NormalizeSignatureTexts(RegistryAccess& reg, const std::string& identitySubkey);

}  // namespace vorn
