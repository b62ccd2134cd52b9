#include "cli/console_window.h"

#include "segmentation/captions.h"

namespace lexomir {

void ConsoleWindow::set_result_text(const Text& text) {
  result_.assign(text);
  words_.clear();
}

void ConsoleWindow::append_result_text(const Text& text) {
  const bool starts_a_character = result_.append(text);
  const Text end = kEntryEnd;
  if (text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0) {
    words_.push_back(text.substr(0, text.size() - end.size()));
  } else {
    words_.push_back(text);
  }
  if (starts_a_character) result_.remember_found(words_.back());
}

}  // namespace lexomir
