// vorn-cli <area> <command> ...: the program's mail-store and archive code on the command line.
#include <cstdio>
#include <cstring>

#include "cli/cli_areas.h"
#include "cli/console.h"

namespace {

struct Area {
  const char* name;
  int (*run)(const vorn::cli::Arguments& args);
};

constexpr Area kAreas[] = {
    {"dbx", vorn::cli::DbxCommand},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2) {
    for (const Area& area : kAreas) {
      if (std::strcmp(argv[1], area.name) == 0) {
        vorn::cli::Arguments args;
        for (int i = 2; i < argc; ++i) args.push_back(vorn::cli::ArgumentText(argv[i]));
        return area.run(args);
      }
    }
  }
  std::fputs("usage: vorn-cli <area> <command> ...; areas:", stderr);
  for (const Area& area : kAreas) std::fprintf(stderr, " %s", area.name);
  std::fputs("\n", stderr);
  return 2;
}
