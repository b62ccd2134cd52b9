#include "app/window_binding.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "app/gbk_string.h"

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
  bridge_->run([&] { widgets_.result->setPlainText(wide); });
}

Text WindowBinding::read_result_text() {
  QString text;
  bridge_->run([&] { text = widgets_.result->toPlainText(); });
  return to_gbk(text);
}

void WindowBinding::append_result_text(const Text& text) {
  const QString wide = from_gbk(text);
  bridge_->run([&] { append_plain_text(widgets_.result, wide); });
}

void WindowBinding::put_clipboard_text(const Text& text) {
  bridge_->run([&] { put_on_clipboard(text); });
}

void put_on_clipboard(const Text& text) {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(from_gbk(text));
}

void append_plain_text(QPlainTextEdit* box, const QString& text) {
  QTextDocument* document = box->document();
  // Switching undo off and on again empties the undo stack, as an edit that cannot be undone leaves it.
  document->setUndoRedoEnabled(false);
  QTextCursor cursor(document);
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text);
  document->setUndoRedoEnabled(true);
  box->setTextCursor(cursor);
  box->ensureCursorVisible();
}

}  // namespace lexomir::ui
