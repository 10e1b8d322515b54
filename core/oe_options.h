#pragma once
// The two Outlook Express options of one identity that the options window switches: the
// start-up logo ("NoSplash") and how pictures in messages are shown ("Automatically Inline Images").
#include <optional>
#include <string>

#include "core/registry_access.h"

namespace vorn {

// The options' choices, as the options window numbers them.
inline constexpr int kLogoShown = 0;
inline constexpr int kLogoHidden = 1;
inline constexpr int kNoPictures = 0;
inline constexpr int kPicturesStacked = 1;
inline constexpr int kPictureSlideShow = 2;

struct OeOptionChoices {
  int logo = kLogoHidden;
  std::optional<int> pictures;  // nullopt: the stored number is none of the three, leave the choice alone
};

// What the window selects for the identity: a missing logo value means hidden, a missing
// picture value means stacked.
OeOptionChoices ReadOeOptions(const RegistryAccess& reg, const std::string& identitySubkey);
bool WriteLogoOption(RegistryAccess& reg, const std::string& identitySubkey, int choice);
bool WritePictureOption(RegistryAccess& reg, const std::string& identitySubkey, int choice);

}  // namespace vorn
