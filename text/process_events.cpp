#include "text/process_events.h"

#include <atomic>

namespace lexomir {
namespace {

// Read after every byte of a URL encoding, so it must stay a single relaxed load.
std::atomic<ProcessEventsHook> g_hook{nullptr};

}  // namespace

void set_process_events_hook(ProcessEventsHook hook) { g_hook.store(hook, std::memory_order_release); }

void process_events() {
  if (const ProcessEventsHook hook = g_hook.load(std::memory_order_acquire)) hook();
}

}  // namespace lexomir
