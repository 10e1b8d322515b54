#include "core/oe_options.h"

#include <charconv>

#include "core/environment_discovery.h"

namespace vorn {
namespace {

const char* const kNoSplash = "NoSplash";
const char* const kInlineImages = "Automatically Inline Images";

}  // namespace

OeOptionChoices ReadOeOptions(const RegistryAccess& reg, const std::string& identitySubkey) {
  const std::string key = OeIdentityKey(identitySubkey);
  OeOptionChoices choices;
  const std::string logo = reg.RegReadText(RegRoot::CurrentUser, key, kNoSplash);
  choices.logo = logo.empty() || logo == "01 00 00 00 " ? kLogoHidden : kLogoShown;

  const std::string pictures = reg.RegReadText(RegRoot::CurrentUser, key, kInlineImages);
  if (pictures.empty()) {
    choices.pictures = kPicturesStacked;
    return choices;
  }
  int number = -1;
  auto [end, error] = std::from_chars(pictures.data(), pictures.data() + pictures.size(), number);
  if (error == std::errc() && end == pictures.data() + pictures.size() && number >= kNoPictures &&
      number <= kPictureSlideShow)
    choices.pictures = number;
  return choices;
}

bool WriteLogoOption(RegistryAccess& reg, const std::string& identitySubkey, int choice) {
  const uint8_t hidden = choice == kLogoHidden ? 1 : 0;
  return reg.RegWriteValue(RegRoot::CurrentUser, OeIdentityKey(identitySubkey), kNoSplash,
                           std::vector<uint8_t>{hidden, 0, 0, 0});
}

bool WritePictureOption(RegistryAccess& reg, const std::string& identitySubkey, int choice) {
  return reg.RegWriteValue(RegRoot::CurrentUser, OeIdentityKey(identitySubkey), kInlineImages, int32_t{choice});
}

}  // namespace vorn
