# Cross build for 32-bit Windows, the build we ship: it runs on Windows 2000 SP4 and XP SP3.
set(VORN_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
