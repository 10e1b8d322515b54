#pragma once
// Finding out where things are: Windows family and version, folders, the address book,
// Favorites, Outlook Express and its identities.
#include <string>
#include <vector>

#include "core/environment_record.h"
#include "core/registry_access.h"
#include "platform/environment.h"

namespace vorn {

void DetectOsFamily(const Environment& environment, EnvironmentRecord& record);
std::string DetectOsKind(const Environment& environment, EnvironmentRecord& record);
void DetectDesktop(const Environment& environment, EnvironmentRecord& record);
// Address book, Favorites, Outlook Express and address book programs and Outlook Express's version.
void LoadEnvironment(const Environment& environment, const RegistryAccess& reg, EnvironmentRecord& record);
void ReadMainIdentity(const RegistryAccess& reg, EnvironmentRecord& record);

std::vector<std::string> ListIdentities(const RegistryAccess& reg);
std::string ReadUserName(const RegistryAccess& reg, const std::string& identitySubkey);
// The identity subkeys in list order: the main identity first, the others in registry order.
std::vector<std::string> OrderIdentities(const std::vector<std::string>& subkeys, const std::string& mainIdentityGuid);
bool MainIdentityPresent(const std::vector<std::string>& identitySubkeys, const std::string& mainIdentityGuid);
// "Identities\{...}\Software\Microsoft\Outlook Express\5.0": the identity's Outlook Express settings.
std::string OeIdentityKey(const std::string& identitySubkey);
std::string ResolveStoreRoot(const RegistryAccess& reg, const EnvironmentRecord& record,
                             const std::string& identitySubkey);

bool FileExists(const Environment& environment, const std::string& path);

// "01 02 ... 10 " (16 bytes of a binary GUID) as "04030201-0605-0807-090A-0B0C0D0E0F10".
std::string GuidTextFromBytes(const std::string& hexByteText);
// "%Var%rest" -> value of Var + rest; only one variable at the very start is expanded.
std::string ExpandLeadingVariable(const Environment& environment, const std::string& text);
// The first five digits of the version without dots, as a number (leading digits; 0 when none).
int OeVersionNumber(const std::string& oeVersion);

}  // namespace vorn
