#pragma once
// The window operations for a terminal: the boxes and the clipboard are texts of this object, so a run of
// either method leaves its result here for the tool to print. One object lives for the whole batch, like
// the one window that several presses of the button share.
#include "cli/result_index.h"
#include "segmentation/window_operations.h"
#include "text/text.h"

namespace lexomir {

class ConsoleWindow final : public WindowOperations {
 public:
  void set_question(Text question) { question_ = std::move(question); }
  void set_proxy(Text proxy) { proxy_ = std::move(proxy); }

  Text read_question_text() override { return question_; }
  Text read_proxy_text() override { return proxy_; }
  void set_button_enabled(bool enabled) override { button_enabled_ = enabled; }
  void set_button_caption(const Text& caption) override { caption_ = caption; }
  void set_result_text(const Text& text) override;
  Text read_result_text() override { return result_.text(); }
  bool result_contains(const Text& word) override { return result_.contains(word); }
  void append_result_text(const Text& text) override;
  void put_clipboard_text(const Text& text) override { clipboard_ = text; }

  const Text& result() const { return result_.text(); }
  const Text& clipboard() const { return clipboard_; }
  bool button_enabled() const { return button_enabled_; }
  const Text& caption() const { return caption_; }
  // The words appended since the result was last set, without their "；". Kept apart from the result text
  // because a word may hold "；" itself, which would make splitting the result ambiguous.
  const TextArray& words() const { return words_; }

 private:
  Text question_;
  Text proxy_;
  // Indexed: with thousands of fragments, reading and searching the whole text for each one dominated a run.
  ResultIndex result_;
  Text clipboard_;
  Text caption_;
  TextArray words_;
  bool button_enabled_ = true;
};

}  // namespace lexomir
