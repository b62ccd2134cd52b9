#pragma once
// The only way a segmentation method touches the window. It exists so that the window, the command-line
// tool and the tests can each bind it: every call may come from a method thread, not the window's, and must
// be carried out completely before it returns.
#include "text/text.h"

namespace lexomir {

class WindowOperations {
 public:
  virtual ~WindowOperations() = default;

  virtual Text read_question_text() = 0;
  virtual Text read_proxy_text() = 0;
  virtual void set_button_enabled(bool enabled) = 0;
  virtual void set_button_caption(const Text& caption) = 0;
  virtual void set_result_text(const Text& text) = 0;
  virtual Text read_result_text() = 0;
  // Inserts at the end, caret after the text, scrolled into view, not undoable.
  virtual void append_result_text(const Text& text) = 0;
  // Plain text; an empty text is put there as an empty text.
  virtual void put_clipboard_text(const Text& text) = 0;

  // Whether the result box holds the word: a search of the text read afresh now, letter case counting,
  // matches beginning only where a character begins; the empty word is held by any non-empty box. A binding
  // that keeps the text itself may answer from an index of it, with the same answer.
  virtual bool result_contains(const Text& word);
};

}  // namespace lexomir
