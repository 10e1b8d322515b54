#pragma once
// The help file's context numbers, named as the help project's [MAP] names them
// (help/pages/Vorn4.hhp); a test keeps the two lists equal. 0, no context, means no Help button.

namespace vorn::help {

inline constexpr int IDH_OE_RUNNING = 1;
inline constexpr int IDH_STORE_ROOT_MISSING = 2;
inline constexpr int IDH_BACKUP_NOT_FOUND = 3;
inline constexpr int IDH_RESTORE_CONFIRM = 4;
inline constexpr int IDH_ENVIRONMENT_DIFFERS = 5;
inline constexpr int IDH_MAIL_DATA_MISSING = 6;
inline constexpr int IDH_ARCHIVER_MISSING = 7;
inline constexpr int IDH_OTHER_USER_SET = 8;
inline constexpr int IDH_NO_OE_USER = 9;
inline constexpr int IDH_ADDRESS_BOOK_MISSING = 10;
inline constexpr int IDH_ADDRESS_BOOK_LOCATION = 11;
inline constexpr int IDH_FAVORITES_NOT_SAVED = 12;
inline constexpr int IDH_IMAGEHLP_MISSING = 13;
inline constexpr int IDH_READ_ONLY_FIXED = 14;
inline constexpr int IDH_OE_TOO_OLD = 15;
inline constexpr int IDH_OE_VERSION_NOTICE = 16;
inline constexpr int IDH_WAB_RUNNING = 17;
inline constexpr int IDH_FOLDER_SCAN_ERROR = 18;
inline constexpr int IDH_CONTENTS = 1060;
inline constexpr int IDH_OPTIONS = 1070;
inline constexpr int IDH_MAIL_TOOLS = 1080;

}  // namespace vorn::help
