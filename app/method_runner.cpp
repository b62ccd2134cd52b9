#include "app/method_runner.h"

#include <atomic>
#include <system_error>
#include <thread>

#include "segmentation/methods.h"

namespace lexomir::ui {
namespace {

std::atomic<int> g_runs{0};

}  // namespace

MethodSet real_methods(const SearchService& service) {
  return {
      [service](WindowOperations& window) { run_keyword_method(window, service); },
      [service](WindowOperations& window) { run_highlight_method(window, service); },
  };
}

bool start_method_thread(const Method& method, std::shared_ptr<WindowOperations> window) {
  if (!method || !window) return false;
  ++g_runs;
  try {
    std::thread([method, window = std::move(window)] {
      method(*window);
      --g_runs;
    }).detach();
  } catch (const std::system_error&) {
    --g_runs;
    return false;
  }
  return true;
}

int runs_under_way() { return g_runs.load(); }

}  // namespace lexomir::ui
