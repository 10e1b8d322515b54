#pragma once
// What the "Reg" folder of a backup set holds and where it comes from: the keys each .reg file
// is exported from (full names, for the identity G in braces) and the phonebooks. The backup
// exports them; the restore imports each file only within its own keys and puts the
// phonebooks back.
#include <string>

namespace vorn {

inline constexpr const char* kSharedAccountsKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager";
inline constexpr const char* kRemoteAccessKey = "HKEY_CURRENT_USER\\RemoteAccess";
inline constexpr const char* kTelephonyLocationsKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations";
inline constexpr const char* kFavoritesOrderKey =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Favorites";

// OE.reg: the identity's whole "Software\Microsoft".
inline std::string IdentitySoftwareKey(const std::string& identityGuid) {
  return "HKEY_CURRENT_USER\\Identities\\" + identityGuid + "\\Software\\Microsoft";
}
// Sig.reg.
inline std::string IdentitySignaturesKey(const std::string& identityGuid) {
  return IdentitySoftwareKey(identityGuid) + "\\Outlook Express\\5.0\\signatures";
}
// Account.reg: the shared accounts, or the identity's own when it has them.
inline std::string IdentityAccountsKey(const std::string& identityGuid) {
  return IdentitySoftwareKey(identityGuid) + "\\Internet Account Manager";
}

// The phonebooks (2000 family), each below its "Application Data" folder: the one shared by
// all users (set file rasphone1.pbk) and the user's own (rasphone2.pbk).
inline constexpr const char* kPhonebookBelowApplicationData = "Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";
inline constexpr const char* kSharedApplicationDataBelowSystemDrive = "\\Documents and Settings\\All Users\\Application Data";

}  // namespace vorn
