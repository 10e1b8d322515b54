#include "backup/registry_exports.h"

#include <gtest/gtest.h>

#include "regedit/reg_file_editor.h"
#include "tests/backup/backup_machine.h"

namespace vorn {
namespace {

// The backup's exports through the program's own registry editor, read back by importing
// them into an empty registry.
class ExportsThroughTheEditor : public ::testing::TestWithParam<bool> {
 protected:
  ExportsThroughTheEditor()
      : b(GetParam()), editor(b.m.registry, b.m.files, [this] { return DialectForOsFamily(b.m.app->env.osFamily); }) {
    RegistryAccess reg(b.m.registry);
    reg.RegWriteValue(RegRoot::CurrentUser, oeKey, "Show Picture", int32_t{1});
    reg.RegWriteValue(RegRoot::CurrentUser, oeKey, "Font", std::string("ＭＳ Ｐゴシック"));
    reg.RegWriteValue(RegRoot::CurrentUser, oeKey + "\\signatures\\00000000", "name", std::string("署名 1"));
    reg.RegWriteValue(RegRoot::CurrentUser, oeKey + "\\signatures\\00000000", "text", std::string("太郎\r\n090-0000"));
    reg.RegWriteValue(RegRoot::CurrentUser, identityKey + "\\Internet Account Manager\\Accounts\\00000001",
                      "Account Name", std::string("mail.example.jp"));
    reg.RegWriteValue(RegRoot::CurrentUser, "Software\\Microsoft\\Internet Account Manager", "Default Mail Account",
                      std::string("00000001"));
    b.m.registryEditor.onRun = [this](const std::string& line) { editor.Run(line); };
  }
  // The values of key after importing a set file into an empty registry.
  std::vector<RegNamedValue> Imported(const std::string& setFile, const std::string& key) {
    SimRegistryStore empty;
    RegFileEditor importer(empty, b.m.files, [] { return RegDialect::Version5; });
    EXPECT_TRUE(importer.Import(b.UserFolder() + "\\Reg\\" + setFile).succeeded) << setFile;
    return empty.EnumValues(RegRoot::CurrentUser, key).value_or(std::vector<RegNamedValue>{});
  }
  std::vector<RegNamedValue> Live(const std::string& key) {
    return b.m.registry.EnumValues(RegRoot::CurrentUser, key).value_or(std::vector<RegNamedValue>{});
  }

  BackupMachine b;
  RegFileEditor editor;
  const std::string identityKey = "Identities\\{" + kTaroGuid + "}\\Software\\Microsoft";
  const std::string oeKey = identityKey + "\\Outlook Express\\5.0";
};

TEST_P(ExportsThroughTheEditor, ImportBackWithTheSameContent) {
  b.StartAndPick();
  b.PressOk();
  const std::string oe = b.SetFile("Reg\\OE.reg");
  if (GetParam()) {
    EXPECT_EQ(oe.substr(0, 4), std::string("\xFF\xFEW\0", 4));
  } else {
    EXPECT_EQ(oe.rfind("REGEDIT4\r\n", 0), 0u);
  }
  EXPECT_EQ(Imported("OE.reg", oeKey), Live(oeKey));
  EXPECT_EQ(Imported("Sig.reg", oeKey + "\\signatures\\00000000"), Live(oeKey + "\\signatures\\00000000"));
  // The main user's set: the shared accounts in Account.reg, the user's own with OE.reg.
  const std::string shared = "Software\\Microsoft\\Internet Account Manager";
  EXPECT_EQ(Imported("Account.reg", shared), Live(shared));
  EXPECT_EQ(Imported("OE.reg", identityKey + "\\Internet Account Manager\\Accounts\\00000001"),
            Live(identityKey + "\\Internet Account Manager\\Accounts\\00000001"));
  const auto signature = Imported("OE.reg", oeKey + "\\signatures\\00000000");
  const auto live = Live(oeKey + "\\signatures\\00000000");
  ASSERT_EQ(signature.size(), 2u);
  ASSERT_EQ(live.size(), 2u);
  const bool nt = GetParam();
  // On the NT family OE.reg carries the text as a multi-string; the live value is a plain string.
  EXPECT_EQ(signature[1].value.type, nt ? regtype::kMultiSz : regtype::kSz);
  EXPECT_EQ(live[1].value.type, regtype::kSz);
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, ExportsThroughTheEditor, ::testing::Bool());

}  // namespace
}  // namespace vorn
