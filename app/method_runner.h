#pragma once
// Starts a segmentation method on a detached thread of its own, as the one-click button does. The window
// never waits for a run; the count of runs under way lets the program's end skip the teardown that a
// still-running thread could trip over.
#include <functional>
#include <memory>

#include "segmentation/search_service.h"
#include "segmentation/window_operations.h"

namespace lexomir::ui {

using Method = std::function<void(WindowOperations&)>;

// The two methods the window can start. Tests put recorders here to see which one a click starts.
struct MethodSet {
  Method keyword;
  Method highlight;
};

MethodSet real_methods(const SearchService& service);

// False when no thread could be made; nothing else happens then.
bool start_method_thread(const Method& method, std::shared_ptr<WindowOperations> window);

int runs_under_way();

}  // namespace lexomir::ui
