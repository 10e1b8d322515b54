/* A 32-bit C program of the kind written for an LHA library: it loads unlha32.dll by name,
 * finds Unlha with GetProcAddress and packs, lists and unpacks through it (code page 932 names,
 * a short output buffer), then checks the unpacked files. Prints what failed; exit code 1 then. */
#include <stdio.h>
#include <string.h>

#include "lha/unlha32/unlha32.h"

static int failures = 0;

static void Check(int ok, const char* what) {
  if (!ok) {
    printf("unlha32_loader: %s\n", what);
    ++failures;
  }
}

/* Calls the entry and, on 32-bit x86, checks that it removed its own arguments from the stack
 * (__stdcall): a __cdecl entry would leave the stack pointer 16 bytes off. */
static __attribute__((noinline)) int Call(UnlhaFunction unlha, const char* line, char* output, DWORD size) {
#if defined(__i386__)
  void* before;
  void* after;
  int result;
  __asm__ volatile("movl %%esp, %0" : "=r"(before) : : "memory");
  result = unlha(NULL, line, output, size);
  __asm__ volatile("movl %%esp, %0" : "=r"(after) : : "memory");
  Check(before == after, "Unlha did not keep the __stdcall convention");
  return result;
#else
  return unlha(NULL, line, output, size);
#endif
}

static void Put(const char* path, const char* text) {
  FILE* file = fopen(path, "wb");
  Check(file != NULL, "cannot write a file to pack");
  if (!file) return;
  fputs(text, file);
  fclose(file);
}

static int Holds(const char* path, const char* text) {
  char data[256] = "";
  size_t n;
  FILE* file = fopen(path, "rb");
  if (!file) return 0;
  n = fread(data, 1, sizeof data - 1, file);
  fclose(file);
  data[n] = '\0';
  return strcmp(data, text) == 0;
}

/* Deletes the two files of a folder of this run, then the folder. */
static void Remove(const char* folder, const char* japanese) {
  char path[MAX_PATH];
  snprintf(path, MAX_PATH, "%s\\a.txt", folder);
  DeleteFileA(path);
  snprintf(path, MAX_PATH, "%s\\%s", folder, japanese);
  DeleteFileA(path);
  RemoveDirectoryA(folder);
}

int main(void) {
  /* 日本語.txt in code page 932 */
  static const char kJapanese[] = "\x93\xfa\x96\x7b\x8c\xea.txt";
  char folder[MAX_PATH], source[MAX_PATH], target[MAX_PATH], archive[MAX_PATH], path[MAX_PATH];
  char line[4 * MAX_PATH], output[4096], loaded[MAX_PATH], self[MAX_PATH];
  HMODULE library;
  UnlhaFunction unlha;
  int result;

  library = LoadLibraryA("unlha32.dll");
  if (!library) {
    printf("unlha32_loader: LoadLibrary(\"unlha32.dll\") failed (%lu)\n", (unsigned long)GetLastError());
    return 1;
  }
  GetModuleFileNameA(library, loaded, MAX_PATH);
  GetModuleFileNameA(NULL, self, MAX_PATH);
  *strrchr(self, '\\') = '\0';
  Check(_strnicmp(loaded, self, strlen(self)) == 0 && strchr(loaded + strlen(self) + 1, '\\') == NULL,
        "the library loaded is not the one beside this program");
  unlha = (UnlhaFunction)(void (*)(void))GetProcAddress(library, "Unlha");
  if (!unlha) {
    printf("unlha32_loader: unlha32.dll exports no \"Unlha\"\n");
    return 1;
  }

  GetTempPathA(MAX_PATH, folder);
  snprintf(folder + strlen(folder), MAX_PATH - strlen(folder), "vorn-loader-%lu", (unsigned long)GetCurrentProcessId());
  snprintf(source, MAX_PATH, "%s\\in", folder);
  snprintf(target, MAX_PATH, "%s\\out", folder);
  snprintf(archive, MAX_PATH, "%s\\Mail.lzh", folder);
  CreateDirectoryA(folder, NULL);
  CreateDirectoryA(source, NULL);
  snprintf(path, MAX_PATH, "%s\\a.txt", source);
  Put(path, "first file\r\n");
  snprintf(path, MAX_PATH, "%s\\%s", source, kJapanese);
  Put(path, "second file\r\n");

  snprintf(line, sizeof line, "a \"%s\" \"%s\\\" \"*.*\"", archive, source);
  result = Call(unlha, line, output, sizeof output);
  Check(result == 0, "packing failed");

  snprintf(line, sizeof line, "l \"%s\"", archive);
  result = Call(unlha, line, output, sizeof output);
  Check(result == 0, "listing failed");
  Check(strstr(output, "a.txt") != NULL && strstr(output, kJapanese) != NULL, "the list lacks a member");

  /* A short buffer gets the start of the messages, NUL-terminated, and nothing beyond it. */
  memset(output, 'z', sizeof output);
  result = Call(unlha, line, output, 8);
  Check(result == 0 && strlen(output) <= 7 && output[8] == 'z', "a short output buffer was overrun");

  snprintf(line, sizeof line, "x \"%s\" \"%s\\\" \"*.*\"", archive, target);
  result = Call(unlha, line, output, sizeof output);
  Check(result == 0, "unpacking failed");
  snprintf(path, MAX_PATH, "%s\\a.txt", target);
  Check(Holds(path, "first file\r\n"), "a.txt did not come back");
  snprintf(path, MAX_PATH, "%s\\%s", target, kJapanese);
  Check(Holds(path, "second file\r\n"), "the code page 932 name did not come back");

  Check(Call(unlha, "q \"nothing\"", output, sizeof output) != 0, "a bad command was accepted");

  FreeLibrary(library);
  Remove(source, kJapanese);
  Remove(target, kJapanese);
  DeleteFileA(archive);
  RemoveDirectoryA(folder);
  if (failures == 0) printf("unlha32_loader: packed, listed and unpacked through unlha32.dll\n");
  return failures == 0 ? 0 : 1;
}
