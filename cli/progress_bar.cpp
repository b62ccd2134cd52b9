#include "cli/progress_bar.h"

#include <string>

namespace lexomir {

namespace {
constexpr int kWidth = 30;
}

void ProgressBar::show(int done, int total) {
  if (total <= 0) return;
  const int filled = static_cast<int>(static_cast<long long>(kWidth) * done / total);
  out_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '-') << "] " << done << '/'
       << total << " pages" << std::flush;
  drawn_ = true;
}

void ProgressBar::clear() {
  if (!drawn_) return;
  out_ << "\r\x1b[K" << std::flush;
  drawn_ = false;
}

}  // namespace lexomir
