#pragma once
// Threads and a lock for the program's own components. The Windows builds start threads with
// CreateThread and lock with critical sections (their runtime, chosen so the program runs on
// Windows 2000 and XP, has no std::thread); the native build uses the standard library's.
#include <chrono>
#include <functional>
#include <memory>

namespace vorn {

// Runs one function on a thread of its own, from construction on; the destructor waits for it.
// When no thread can be started, the function runs on the constructing thread instead.
class Thread {
 public:
  explicit Thread(std::function<void()> body);
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // True once the function has returned; waits at most timeout for that.
  bool WaitFor(std::chrono::milliseconds timeout);
  // Waits for the function's end and rethrows what it threw, if anything.
  void Join();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// A lock that one thread holds at a time (not recursive); usable with std::lock_guard.
class Mutex {
 public:
  Mutex();
  ~Mutex();
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  void lock();
  void unlock();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vorn
