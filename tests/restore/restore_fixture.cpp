#include "tests/restore/restore_fixture.h"

#include "core/signature_texts.h"
#include "tests/regedit/reg_test_support.h"
#include "platform/sim/sim_registry_store.h"

namespace vorn {
using regtest::Sz;

void FillSourceRegistry(RegistryStore& store, bool nt) {
  const auto user = RegRoot::CurrentUser;
  const std::string identity = "Identities\\" + kSourceGuid + "\\Software\\Microsoft";
  const std::string oe = identity + "\\Outlook Express\\5.0";
  store.WriteValue(user, oe, "Store Root",
                   Sz(nt ? "%UserProfile%\\Local Settings\\Application Data\\Identities\\" + kSourceGuid +
                               "\\Microsoft\\Outlook Express"
                         : "C:\\WINDOWS\\Application Data\\Identities\\" + kSourceGuid + "\\Microsoft\\Outlook Express"));
  store.WriteValue(user, oe, "Show Picture", RegValue{regtype::kDword, {1, 0, 0, 0}});
  // The GUID also stands inside values, in another letter case.
  store.WriteValue(user, oe + "\\Rules\\Mail\\000", "Identity", Sz("{aaaaaaaa-1111-2222-3333-444444444444}"));
  const std::string texts[] = {"山田 太郎\r\ntaro@example.jp\r\n\"Vorn\" C:\\mail", "一行だけ"};
  for (int i = 0; i < 2; ++i) {
    const std::string key = oe + "\\signatures\\0000000" + std::to_string(i);
    store.WriteValue(user, key, "name", Sz("署名 #" + std::to_string(i + 1)));
    store.WriteValue(user, key, "text", Sz(texts[i]));
  }
  store.WriteValue(user, identity + "\\Internet Account Manager\\Accounts\\00000002", "Account Name", Sz("news"));
  const std::string accounts = "Software\\Microsoft\\Internet Account Manager\\Accounts";
  store.WriteValue(user, accounts, "AssociatedID", RegValue{regtype::kBinary, GuidBytes(kSourceGuid)});
  store.WriteValue(user, accounts + "\\00000001", "Account Name", Sz("taro@example.jp"));
  store.WriteValue(user, "RemoteAccess\\Profile\\Dialup", "Default", Sz("Dialup"));
  store.WriteValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations\\Location1",
                   "Name", Sz("自宅"));
  store.WriteValue(user, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Favorites", "Order",
                   RegValue{regtype::kBinary, {8, 0, 0, 0, 2}});
}

void ExportSetFiles(FileSystem& files, RegistryStore& source, bool ntSource, const std::string& setFolder) {
  const RegDialect dialect = ntSource ? RegDialect::Version5 : RegDialect::Regedit4;
  RegFileEditor exporter(source, files, [dialect] { return dialect; });
  const std::string identity = "HKEY_CURRENT_USER\\Identities\\" + kSourceGuid + "\\Software\\Microsoft";
  const std::string reg = setFolder + "\\Reg\\";
  // As the backup exports them: the texts are multi-strings only while OE.reg is written.
  RegistryAccess access(source);
  if (ntSource) SignaturesToMultiString(access, kSourceGuid);
  exporter.Export(reg + "OE.reg", identity, dialect);
  NormalizeSignatureTexts(access, kSourceGuid);
  exporter.Export(reg + "Sig.reg", identity + "\\Outlook Express\\5.0\\signatures", dialect);
  exporter.Export(reg + "Account.reg", "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager", dialect);
  exporter.Export(reg + "Remote.reg", "HKEY_CURRENT_USER\\RemoteAccess", dialect);
  if (ntSource)
    exporter.Export(reg + "Locations.reg",
                    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations", dialect);
  exporter.Export(reg + "FavoOrder.reg",
                  "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Favorites",
                  dialect);
}

RestoreFixture::RestoreFixture(bool nt)
    : m(nt),
      nt(nt),
      editor(m.registry, m.files, [nt] { return nt ? RegDialect::Version5 : RegDialect::Regedit4; }),
      app(*m.app),
      reg(app.reg),
      env(app.env),
      run(app, state) {
  m.app->form1().hwnd = 42;
  state.workFolder = "C:\\Work";
  m.files.CreateDirectory(state.workFolder);
  env.osFamily = nt ? kFamilyNt : kFamily9x;
  env.osKind = nt ? "WindowsXP" : "Windows98";
  env.oeVersion = "6.0.2900.5512";
  env.userProfileFolder = nt ? m.profile : "";
  env.selectedIdentityGuid = kReceiverGuid;
  const std::string tail = "\\Identities\\" + kReceiverGuid + "\\Microsoft\\Outlook Express";
  storeRootValue = nt ? "%UserProfile%\\Local Settings\\Application Data" + tail : "C:\\WINDOWS\\Application Data" + tail;
  env.storeRootFolder = nt ? m.profile + "\\Local Settings\\Application Data" + tail : storeRootValue;
  m.AddIdentity({kReceiverGuid.substr(1, 36), "hanako", storeRootValue});
  m.registry.WriteValue(RegRoot::CurrentUser, IdentityKey() + "\\Outlook Express\\5.0\\signatures\\00000009", "text",
                        Sz("hanako's own"));
  m.registryEditor.onImportWithin = [this](const std::string& line, const std::vector<std::string>& scope) {
    return editor.RunImportWithin(line, scope);
  };
  state.restoreFolder = kSetFolder;
}

void RestoreFixture::MakeSet(bool ntSource) {
  SimRegistryStore source;
  FillSourceRegistry(source, ntSource);
  m.files.CreateDirectory("C:\\Sets");
  m.files.CreateDirectory(kSetFolder);
  m.files.CreateDirectory(kSetFolder + "\\Reg");
  ExportSetFiles(m.files, source, ntSource, kSetFolder);
}

std::string RestoreFixture::Text(const std::string& key, const std::string& value, RegRoot root) const {
  return reg.RegReadText(root, key, value);
}

std::string RestoreFixture::IdentityKey(const std::string& guid) const {
  return "Identities\\" + guid + "\\Software\\Microsoft";
}

}  // namespace vorn
