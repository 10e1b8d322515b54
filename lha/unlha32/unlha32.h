/* unlha32.dll, the LHA archiver library: what it exports, for C and C++ callers.
 *
 * The one export is Unlha, under that undecorated name, with the __stdcall convention (WINAPI)
 * and the signature that programs written for an LHA library call, so such a program can load
 * this library by name ("unlha32.dll") and find the entry with GetProcAddress(module, "Unlha").
 *
 *   int WINAPI Unlha(HWND window, LPCSTR commandLine, LPSTR output, DWORD outputSize);
 *
 *   window       owner of the progress window shown while packing or unpacking; NULL shows none.
 *   commandLine  one command in code page 932 text: a (pack), x (unpack), l (list), t (test), with
 *                their switches; lha/unlha_command.h describes the syntax.
 *   output       receives the run's messages (one line each, CR LF), code page 932, NUL-terminated,
 *                cut at outputSize - 1 bytes and never inside a double-byte character; may be NULL.
 *   outputSize   the size of output in bytes, NUL included; 0 writes nothing.
 *   result       0 on success, otherwise the first failure's code, from 0x8001 up (the list is in
 *                lha/unlha_result.h); the run goes on with the other members after a failing one.
 */
#ifndef VORN_UNLHA32_H
#define VORN_UNLHA32_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI Unlha(HWND window, LPCSTR commandLine, LPSTR output, DWORD outputSize);

/* The same entry as a pointer type, for callers that load the library at run time. */
typedef int(WINAPI* UnlhaFunction)(HWND window, LPCSTR commandLine, LPSTR output, DWORD outputSize);

#ifdef __cplusplus
}
#endif

#endif /* VORN_UNLHA32_H */
