# Shared part of the MinGW-w64 toolchain files: Debian's cross compilers for
# VORN_MINGW_TRIPLE, win32 thread model. That model keeps the runtime free of imports that
# Windows 2000 and XP lack (the posix model's winpthreads imports GetTickCount64); the
# program's own threads go through platform/thread.h.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VORN_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${VORN_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${VORN_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VORN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests of the Windows build run under Wine; scripts/wine-run.sh picks the prefix that suits
# the program's architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
