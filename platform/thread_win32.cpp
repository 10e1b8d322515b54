// Thread and Mutex over CreateThread and critical sections, for the Windows builds.
#include <windows.h>

#include <exception>
#include <utility>

#include "platform/thread.h"

namespace vorn {

struct Thread::State {
  std::function<void()> body;
  std::exception_ptr failure;
  HANDLE handle = nullptr;

  static DWORD WINAPI Run(LPVOID parameter) {
    auto* state = static_cast<State*>(parameter);
    try {
      state->body();
    } catch (...) {
      state->failure = std::current_exception();
    }
    return 0;
  }
};

Thread::Thread(std::function<void()> body) : state_(std::make_unique<State>()) {
  state_->body = std::move(body);
  state_->handle = CreateThread(nullptr, 0, &State::Run, state_.get(), 0, nullptr);
  if (state_->handle == nullptr) State::Run(state_.get());
}

Thread::~Thread() {
  if (state_->handle == nullptr) return;
  WaitForSingleObject(state_->handle, INFINITE);
  CloseHandle(state_->handle);
}

bool Thread::WaitFor(std::chrono::milliseconds timeout) {
  if (state_->handle == nullptr) return true;
  return WaitForSingleObject(state_->handle, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

void Thread::Join() {
  if (state_->handle) WaitForSingleObject(state_->handle, INFINITE);
  if (state_->failure) std::rethrow_exception(std::exchange(state_->failure, nullptr));
}

struct Mutex::State {
  CRITICAL_SECTION section;
};

Mutex::Mutex() : state_(std::make_unique<State>()) { InitializeCriticalSection(&state_->section); }
Mutex::~Mutex() { DeleteCriticalSection(&state_->section); }
void Mutex::lock() { EnterCriticalSection(&state_->section); }
void Mutex::unlock() { LeaveCriticalSection(&state_->section); }

}  // namespace vorn
