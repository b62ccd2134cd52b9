#pragma once
// The two segmentation methods. Each runs to its end on the calling thread (a method thread of its own in
// the window), touches the window only through WindowOperations and always leaves the button idle again.
#include <functional>

#include "segmentation/search_service.h"
#include "segmentation/window_operations.h"

namespace lexomir {

// What a run saw. The window ignores it; lexomir-cli reports it.
struct RunReport {
  bool page_fetched = false;  // the search page text was not empty
  int fragments = 0;          // highlighted fragments found
  int links = 0;              // question links found
  int links_done = 0;         // question pages requested
  int timeouts = 0;           // question pages that timed out
  int words_appended = 0;
};

struct MethodHooks {
  // Called after each question page with (links done, links in all); may be empty.
  std::function<void(int, int)> on_link_done;
};

RunReport run_highlight_method(WindowOperations& window, const SearchService& service = {});
RunReport run_keyword_method(WindowOperations& window, const SearchService& service = {},
                             const MethodHooks& hooks = {});

}  // namespace lexomir
