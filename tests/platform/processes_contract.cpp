#include <algorithm>

#include "tests/platform/service_contracts.h"

namespace vorn {
namespace {

TEST_P(ProcessesContract, RunAndWaitHandsBackTheExitCodeAndStartReturnsAtOnce) {
  EXPECT_EQ(service->RunAndWait("cmd.exe /c exit 3", WindowStyle::Hidden), 3);
  EXPECT_EQ(service->RunAndWait("cmd.exe /c exit 0", WindowStyle::Hidden), 0);
  EXPECT_TRUE(service->Start("cmd.exe /c exit 0", WindowStyle::Minimized));
}

TEST_P(ProcessesContract, AProgramThatIsNotThereNeitherStartsNorRuns) {
  EXPECT_FALSE(service->Start("no-such-program-here.exe", WindowStyle::Normal));
  EXPECT_FALSE(service->RunAndWait("no-such-program-here.exe", WindowStyle::Normal).has_value());
}

TEST_P(ProcessesContract, TheSnapshotListsTheRunningProgramsByName) {
  auto running = service->Snapshot();
  ASSERT_TRUE(running.has_value());
  EXPECT_NE(std::find(running->begin(), running->end(), GetParam().runningProgram), running->end());
}

}  // namespace
}  // namespace vorn
