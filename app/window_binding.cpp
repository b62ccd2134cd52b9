#include "app/window_binding.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/gbk_string.h"
#include "app/result_box.h"

namespace lexomir::ui {

WindowBinding::WindowBinding(std::shared_ptr<UiBridge> bridge, BoundWidgets widgets)
    : bridge_(std::move(bridge)), widgets_(widgets) {}

// Conversions happen off the window's thread where they can, so the hand-over holds the window briefly.

Text WindowBinding::read_question_text() {
  QString text;
  bridge_->run([&] { text = widgets_.question->toPlainText(); });
  return to_gbk(text);
}

Text WindowBinding::read_proxy_text() {
  QString text;
  bridge_->run([&] { text = widgets_.proxy->text(); });
  return to_gbk(text);
}

void WindowBinding::set_button_enabled(bool enabled) {
  bridge_->run([&] { widgets_.button->setEnabled(enabled); });
}

void WindowBinding::set_button_caption(const Text& caption) {
  const QString text = from_gbk(caption);
  bridge_->run([&] { widgets_.button->setText(text); });
}

void WindowBinding::set_result_text(const Text& text) {
  const QString wide = from_gbk(text);
  bridge_->run([&] { widgets_.result->replace_text(wide); });
}

Text WindowBinding::read_result_text() {
  QString text;
  bridge_->run([&] { text = widgets_.result->full_text(); });
  return to_gbk(text);
}

void WindowBinding::append_result_text(const Text& text) {
  const QString wide = from_gbk(text);
  bridge_->run([&] { widgets_.result->append_text(wide); });
}

void WindowBinding::put_clipboard_text(const Text& text) {
  bridge_->run([&] { put_on_clipboard(text); });
}

void put_on_clipboard(const Text& text) {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(from_gbk(text));
}

}  // namespace lexomir::ui
