#pragma once
// Lets long loops on a method thread hand control to the thread's pending events. The window sets the
// hook at start-up; without one, process_events does nothing (the command-line tool has no event queue).

namespace lexomir {

using ProcessEventsHook = void (*)();

void set_process_events_hook(ProcessEventsHook hook);
void process_events();

}  // namespace lexomir
