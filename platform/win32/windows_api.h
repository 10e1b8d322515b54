#pragma once
// <windows.h> for code that also sees the platform interfaces: the A/W selector macros
// below would otherwise rename FileSystem's members of the same names.
#include <windows.h>

#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef MoveFile
#undef RemoveDirectory
