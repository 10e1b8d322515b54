// vorn-help-writer PROJECT.hhp OUTPUT.chm: compiles the help pages into a help file.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "help/writer/help_compiler.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: vorn-help-writer PROJECT.hhp OUTPUT.chm\n");
    return 2;
  }
  const std::filesystem::path output = argv[2];
  try {
    const std::string file =
        vorn::help::CompileHelpFile(vorn::help::ReadHelpProject(argv[1]), output.stem().string());
    // Written aside and renamed, so a failed run never leaves a broken help file behind.
    const std::filesystem::path partial = output.string() + ".part";
    {
      std::ofstream out(partial, std::ios::binary | std::ios::trunc);
      out.write(file.data(), static_cast<std::streamsize>(file.size()));
      if (!out.flush()) throw std::runtime_error(partial.string() + ": cannot be written");
    }
    std::filesystem::rename(partial, output);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vorn-help-writer: %s\n", error.what());
    return 1;
  }
  return 0;
}
