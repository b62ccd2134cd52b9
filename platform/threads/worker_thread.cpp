#include "platform/threads/worker_thread.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace lexomir::platform {
namespace {
std::atomic<int> g_live_workers{0};
}  // namespace

struct WorkerThread::State {
  std::mutex mutex;
  std::condition_variable ended_signal;
  bool ended = false;
  std::function<void()> job;
};

WorkerThread WorkerThread::start(std::function<void()> job) {
  auto state = std::make_shared<State>();
  state->job = std::move(job);
  ++g_live_workers;
  try {
    std::thread([state] {
      state->job();
      // The job's captures (connections, buffers) go now, not when the last handle lets go of the state.
      state->job = nullptr;
      {
        std::lock_guard lock(state->mutex);
        state->ended = true;
      }
      state->ended_signal.notify_all();
      --g_live_workers;
    }).detach();
  } catch (const std::system_error&) {
    --g_live_workers;
    return {};
  }
  WorkerThread worker;
  worker.state_ = std::move(state);
  return worker;
}

bool WorkerThread::ended() const {
  if (!state_) return false;
  std::lock_guard lock(state_->mutex);
  return state_->ended;
}

WaitStatus WorkerThread::wait(std::chrono::milliseconds timeout) const {
  if (timeout.count() < 0) timeout = std::chrono::milliseconds(0);
  const bool whole = timeout <= kWaitSlice;
  const auto span = whole ? timeout : kWaitSlice;
  if (!state_) {
    std::this_thread::sleep_for(span);
    return WaitStatus::kFailed;
  }
  std::unique_lock lock(state_->mutex);
  if (state_->ended_signal.wait_for(lock, span, [this] { return state_->ended; })) return WaitStatus::kEnded;
  return whole ? WaitStatus::kTimeout : WaitStatus::kEvents;
}

int live_worker_count() { return g_live_workers.load(); }

double monotonic_milliseconds() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace lexomir::platform
