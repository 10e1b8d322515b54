// Thread and Mutex over the standard library, for the native build.
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/thread.h"

namespace vorn {

struct Thread::State {
  std::function<void()> body;
  std::exception_ptr failure;
  std::mutex lock;
  std::condition_variable ended;
  bool done = false;
  std::thread thread;

  void Run() {
    try {
      body();
    } catch (...) {
      failure = std::current_exception();
    }
    std::lock_guard guard(lock);
    done = true;
    ended.notify_all();
  }
};

Thread::Thread(std::function<void()> body) : state_(std::make_unique<State>()) {
  state_->body = std::move(body);
  try {
    state_->thread = std::thread([state = state_.get()] { state->Run(); });
  } catch (const std::system_error&) {
    state_->Run();
  }
}

Thread::~Thread() {
  if (state_->thread.joinable()) state_->thread.join();
}

bool Thread::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock guard(state_->lock);
  return state_->ended.wait_for(guard, timeout, [this] { return state_->done; });
}

void Thread::Join() {
  if (state_->thread.joinable()) state_->thread.join();
  if (state_->failure) std::rethrow_exception(std::exchange(state_->failure, nullptr));
}

struct Mutex::State {
  std::mutex mutex;
};

Mutex::Mutex() : state_(std::make_unique<State>()) {}
Mutex::~Mutex() = default;
void Mutex::lock() { state_->mutex.lock(); }
void Mutex::unlock() { state_->mutex.unlock(); }

}  // namespace vorn
