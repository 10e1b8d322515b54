// Thread and Mutex on both builds: the native one over the standard library, the Windows one
// over CreateThread and critical sections (run under Wine).
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>

#include "platform/thread.h"

namespace vorn {
namespace {

using std::chrono::milliseconds;

TEST(Thread, RunsBesideTheCallerUntilItsFunctionReturnsAndIsWaitedForAtTheEnd) {
  Mutex gate;
  std::atomic<bool> finished{false};
  {
    std::unique_lock closed(gate);
    Thread thread([&] {
      std::lock_guard pass(gate);
      finished = true;
    });
    EXPECT_FALSE(thread.WaitFor(milliseconds(50)));
    EXPECT_FALSE(finished);
    closed.unlock();
    EXPECT_TRUE(thread.WaitFor(milliseconds(10000)));
    EXPECT_TRUE(finished);
    EXPECT_TRUE(thread.WaitFor(milliseconds(0)));
    thread.Join();
  }
  // The destructor alone waits as well.
  std::atomic<bool> done{false};
  gate.lock();
  {
    Thread thread([&] {
      std::lock_guard pass(gate);
      done = true;
    });
    gate.unlock();
  }
  EXPECT_TRUE(done);
}

TEST(Thread, JoinPassesOnWhatTheFunctionThrewOnce) {
  Thread thread([] { throw std::runtime_error("packing failed"); });
  EXPECT_TRUE(thread.WaitFor(milliseconds(10000)));
  try {
    thread.Join();
    ADD_FAILURE() << "nothing was thrown";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "packing failed");
  }
  EXPECT_NO_THROW(thread.Join());
}

TEST(Mutex, LetsOneThreadAtATimeChangeSharedData) {
  Mutex lock;
  long counter = 0;  // deliberately not atomic
  auto add = [&] {
    for (int i = 0; i < 200000; ++i) {
      std::lock_guard guard(lock);
      ++counter;
    }
  };
  {
    Thread first(add), second(add);
  }
  EXPECT_EQ(counter, 400000);
}

}  // namespace
}  // namespace vorn
