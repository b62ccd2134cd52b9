#include "app/method_runner.h"

#include <atomic>
#include <system_error>
#include <thread>

#include "segmentation/methods.h"

namespace lexomir::ui {
namespace {

std::atomic<int> g_runs{0};

// Counts a run from its start until everything it holds has been released, the window binding included,
// so that the program's end never tears down what a finishing thread is still destroying.
class RunUnderWay {
 public:
  RunUnderWay() { ++g_runs; }
  RunUnderWay(const RunUnderWay&) = delete;
  RunUnderWay& operator=(const RunUnderWay&) = delete;
  ~RunUnderWay() { --g_runs; }
};

}  // namespace

MethodSet real_methods(const SearchService& service) {
  return {
      [service](WindowOperations& window) { run_keyword_method(window, service); },
      [service](WindowOperations& window) { run_highlight_method(window, service); },
  };
}

bool start_method_thread(const Method& method, std::shared_ptr<WindowOperations> window) {
  if (!method || !window) return false;
  auto under_way = std::make_shared<RunUnderWay>();
  try {
    // The window binding and the method are released in the body, so that the count, which goes with the
    // thread's copy of this closure, drops only after them.
    std::thread([under_way = std::move(under_way), method = Method(method),
                 window = std::move(window)]() mutable {
      method(*window);
      window.reset();
      method = nullptr;
    }).detach();
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

int runs_under_way() { return g_runs.load(); }

}  // namespace lexomir::ui
