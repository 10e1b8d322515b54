#pragma once
// GoogleTest's own customisation header, found before its empty one in the Windows builds.
// GoogleTest's Notification uses std::mutex and std::condition_variable, which the runtime of
// the win32 thread model lacks; this one waits on an event (notification_win32.cpp). The rest of
// GoogleTest's threading on Windows already uses critical sections and CreateThread.
#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification();
  ~Notification();
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify();
  void WaitForNotification();

 private:
  void* event_;
};

}  // namespace testing::internal
