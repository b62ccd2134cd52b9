#pragma once
#include "segmentation/captions.h"
#include "segmentation/window_operations.h"

namespace lexomir {

// Puts the one-click button into its running state for the lifetime of the guard and back to idle when the
// guard goes, so that no path out of a method can leave the button disabled.
class RunningButton {
 public:
  explicit RunningButton(WindowOperations& window) : window_(window) {
    window_.set_button_enabled(false);
    window_.set_button_caption(kRunningCaption);
  }
  ~RunningButton() {
    window_.set_button_enabled(true);
    window_.set_button_caption(kIdleCaption);
  }
  RunningButton(const RunningButton&) = delete;
  RunningButton& operator=(const RunningButton&) = delete;

 private:
  WindowOperations& window_;
};

}  // namespace lexomir
