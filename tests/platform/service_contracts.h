#pragma once
// The cases the shell, environment, processes and archiver services must pass, simulated or
// real. Each instantiation supplies the implementation and arranges what a case needs of the
// machine (a variable, a versioned program, the commands the process cases start).
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/archiver.h"
#include "platform/environment.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "tests/platform/scratch_folder.h"

namespace vorn {

// Copies run without questions: a copy over an existing file replaces it.
struct ShellUnderTest {
  FileSystemUnderTest files;
  std::function<std::unique_ptr<Shell>(FileSystem&)> make;
};

struct EnvironmentUnderTest {
  FileSystemUnderTest files;
  // path search and versions look at these files
  std::function<std::unique_ptr<Environment>(FileSystem&)> make;
  std::function<void(Environment&, const std::string& name, const std::string& value)> setVariable;
  // A program in the program folder, with the version its version resource holds.
  std::string programName;
  FileVersion programVersion;
};

// "cmd.exe /c exit 3" ends with 3, "cmd.exe /c exit 0" with 0, "no-such-program-here.exe"
// names no program; runningProgram is the name of a program that runs throughout.
struct ProcessesUnderTest {
  std::function<std::unique_ptr<Processes>()> make;
  std::string runningProgram;
};

struct ArchiverUnderTest {
  FileSystemUnderTest files;
  std::function<std::unique_ptr<Archiver>(FileSystem&)> make;
};

inline void PrintTo(const ShellUnderTest&, std::ostream* out) { *out << "shell"; }
inline void PrintTo(const EnvironmentUnderTest&, std::ostream* out) { *out << "environment"; }
inline void PrintTo(const ProcessesUnderTest&, std::ostream* out) { *out << "processes"; }
inline void PrintTo(const ArchiverUnderTest&, std::ostream* out) { *out << "archiver"; }

// A service made over the scratch folder's file system.
template <typename UnderTest, typename Service>
class ServiceOnFilesTest : public ScratchFolderTest<UnderTest> {
 protected:
  void SetUp() override {
    ScratchFolderTest<UnderTest>::SetUp();
    service = this->GetParam().make(*this->files);
  }
  std::unique_ptr<Service> service;
};

class ShellContract : public ServiceOnFilesTest<ShellUnderTest, Shell> {};
class EnvironmentContract : public ServiceOnFilesTest<EnvironmentUnderTest, Environment> {};
class ArchiverContract : public ServiceOnFilesTest<ArchiverUnderTest, Archiver> {};

class ProcessesContract : public ::testing::TestWithParam<ProcessesUnderTest> {
 protected:
  void SetUp() override { service = GetParam().make(); }
  std::unique_ptr<Processes> service;
};

}  // namespace vorn
