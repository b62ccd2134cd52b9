#pragma once
// Worker threads that a caller waits for with a time-out and may give up. The worker's state is owned
// jointly by the thread and by its handle, so giving the worker up never frees what it still uses and
// never kills it: the worker finishes on its own, nobody reads what it writes afterwards, and its state is
// freed when it ends.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace lexomir::platform {

enum class WaitStatus : std::uint32_t {
  kEnded = 0,
  kEvents = 1,  // a slice passed: time for the caller to dispatch its pending events
  kTimeout = 258,
  kFailed = 0xFFFFFFFFu,
};

class WorkerThread {
 public:
  // An empty handle (started() is false) when no thread could be made.
  static WorkerThread start(std::function<void()> job);

  WorkerThread() = default;
  WorkerThread(WorkerThread&&) noexcept = default;
  WorkerThread& operator=(WorkerThread&&) noexcept = default;
  ~WorkerThread() = default;  // a worker still running is given up

  bool started() const { return state_ != nullptr; }
  bool ended() const;

  // Waits up to timeout for the worker to end, but never longer than a short slice, so a caller that owns
  // an event queue can keep it flowing between waits. kEnded, kEvents when a slice passed first, kTimeout
  // when the whole timeout fitted in this wait and passed. An empty handle waits a slice and fails, so
  // that a caller looping until its own deadline does not spin.
  WaitStatus wait(std::chrono::milliseconds timeout) const;

  // Lets the worker go; it runs to its end on its own.
  void abandon() { state_.reset(); }

 private:
  struct State;
  std::shared_ptr<State> state_;
};

inline constexpr std::chrono::milliseconds kWaitSlice{10};

// Workers whose thread has not finished yet, abandoned ones included.
int live_worker_count();

// Milliseconds on a clock that never goes back and never wraps.
double monotonic_milliseconds();

}  // namespace lexomir::platform
