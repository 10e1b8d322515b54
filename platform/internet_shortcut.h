#pragma once
// Internet shortcuts (.url files): the one-section text file in which the shell keeps a link's
// target, written in code page 932 with CR LF line ends like the system's own.
#include <string>

#include "platform/file_system.h"

namespace vorn {

// The file's whole content for a target URL.
std::string InternetShortcutText(const std::string& url);
// The address in a shortcut's text: "URL=" in its [InternetShortcut] section.
std::string InternetShortcutUrl(const std::string& shortcutText);
// Creates or replaces the shortcut at path; false when it could not be written whole.
bool WriteInternetShortcut(FileSystem& files, const std::string& path, const std::string& url);

}  // namespace vorn
