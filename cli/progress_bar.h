#pragma once
#include <ostream>

namespace lexomir {

// One line on a terminal, redrawn in place while the keyword method walks its links.
class ProgressBar {
 public:
  explicit ProgressBar(std::ostream& out) : out_(out) {}
  ~ProgressBar() { clear(); }
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void show(int done, int total);
  // Leaves the line empty for whatever is printed next.
  void clear();

 private:
  std::ostream& out_;
  bool drawn_ = false;
};

}  // namespace lexomir
