#include "core/oe_options.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_registry_store.h"

namespace vorn {
namespace {

const std::string kTaro = "{AAAAAAAA-0000-0000-0000-000000000001}";
const std::string kHanako = "{BBBBBBBB-0000-0000-0000-000000000002}";
const std::string kTaroKey = "Identities\\" + kTaro + "\\Software\\Microsoft\\Outlook Express\\5.0";
const std::string kHanakoKey = "Identities\\" + kHanako + "\\Software\\Microsoft\\Outlook Express\\5.0";

TEST(OeOptions, StoredValuesChooseTheOptions) {
  struct Case {
    const char* what;
    std::optional<RegValue> noSplash;
    std::optional<RegValue> inlineImages;
    int logo;
    std::optional<int> pictures;
  };
  const RegValue hidden{regtype::kBinary, {1, 0, 0, 0}};
  const RegValue shown{regtype::kBinary, {0, 0, 0, 0}};
  auto dword = [](uint8_t n) { return RegValue{regtype::kDword, {n, 0, 0, 0}}; };
  const std::vector<Case> cases = {
      {"nothing stored", std::nullopt, std::nullopt, kLogoHidden, kPicturesStacked},
      {"logo hidden, no pictures", hidden, dword(0), kLogoHidden, kNoPictures},
      {"logo shown, slide show", shown, dword(2), kLogoShown, kPictureSlideShow},
      {"other bytes show the logo", RegValue{regtype::kBinary, {2, 0, 0, 0}}, dword(1), kLogoShown, kPicturesStacked},
      {"hidden as a DWORD is not the byte text", dword(1), dword(7), kLogoShown, std::nullopt},
      {"a text that is no number", hidden, RegValue{regtype::kSz, {'x', 0}}, kLogoHidden, std::nullopt},
  };
  for (const auto& c : cases) {
    SimRegistryStore store;
    RegistryAccess reg(store);
    if (c.noSplash) store.WriteValue(RegRoot::CurrentUser, kTaroKey, "NoSplash", *c.noSplash);
    if (c.inlineImages) store.WriteValue(RegRoot::CurrentUser, kTaroKey, "Automatically Inline Images", *c.inlineImages);
    OeOptionChoices choices = ReadOeOptions(reg, kTaro);
    EXPECT_EQ(choices.logo, c.logo) << c.what;
    EXPECT_EQ(choices.pictures, c.pictures) << c.what;
  }
}

TEST(OeOptions, WritesGoToTheGivenIdentityOnly) {
  SimRegistryStore store;
  RegistryAccess reg(store);
  EXPECT_TRUE(WritePictureOption(reg, kHanako, kPictureSlideShow));
  EXPECT_TRUE(WriteLogoOption(reg, kHanako, kLogoHidden));
  EXPECT_EQ(store.ReadValue(RegRoot::CurrentUser, kHanakoKey, "Automatically Inline Images"),
            (RegValue{regtype::kDword, {2, 0, 0, 0}}));
  EXPECT_EQ(store.ReadValue(RegRoot::CurrentUser, kHanakoKey, "NoSplash"), (RegValue{regtype::kBinary, {1, 0, 0, 0}}));
  EXPECT_FALSE(store.KeyExists(RegRoot::CurrentUser, kTaroKey));

  WriteLogoOption(reg, kHanako, kLogoShown);
  EXPECT_EQ(store.ReadValue(RegRoot::CurrentUser, kHanakoKey, "NoSplash"), (RegValue{regtype::kBinary, {0, 0, 0, 0}}));
  EXPECT_EQ(ReadOeOptions(reg, kHanako).logo, kLogoShown);
}

}  // namespace
}  // namespace vorn
