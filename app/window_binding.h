#pragma once
// The window operations bound to the main window's widgets. Safe from any thread: each call is carried out
// on the window's thread before it returns. Once the window is gone, reads give empty texts and the other
// operations do nothing, so a run that outlives the window ends quietly.
#include <memory>

#include "app/ui_bridge.h"
#include "segmentation/window_operations.h"

class QAbstractButton;
class QLineEdit;
class QPlainTextEdit;

namespace lexomir::ui {

class ResultBox;

struct BoundWidgets {
  QPlainTextEdit* question = nullptr;
  QLineEdit* proxy = nullptr;
  QAbstractButton* button = nullptr;
  ResultBox* result = nullptr;
};

class WindowBinding : public WindowOperations {
 public:
  WindowBinding(std::shared_ptr<UiBridge> bridge, BoundWidgets widgets);

  Text read_question_text() override;
  Text read_proxy_text() override;
  void set_button_enabled(bool enabled) override;
  void set_button_caption(const Text& caption) override;
  void set_result_text(const Text& text) override;
  Text read_result_text() override;
  void append_result_text(const Text& text) override;
  void put_clipboard_text(const Text& text) override;

 private:
  std::shared_ptr<UiBridge> bridge_;
  BoundWidgets widgets_;
};

// Shared by the binding and the copy button.
void put_on_clipboard(const Text& text);

}  // namespace lexomir::ui
