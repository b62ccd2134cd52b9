#include "app/result_box.h"

#include <QEvent>
#include <QTextCursor>
#include <QTextDocument>

namespace lexomir::ui {

ResultBox::ResultBox(QWidget* parent) : QPlainTextEdit(parent) {
  flush_timer_.setSingleShot(true);
  flush_timer_.setInterval(kAppendIntervalMs);
  connect(&flush_timer_, &QTimer::timeout, this, [this] { flush(); });
}

void ResultBox::append_text(const QString& text) {
  if (text.isEmpty()) return;
  pending_ += text;
  if (!flush_timer_.isActive()) flush_timer_.start();
}

QString ResultBox::full_text() const { return pending_.isEmpty() ? toPlainText() : toPlainText() + pending_; }

void ResultBox::replace_text(const QString& text) {
  pending_.clear();
  flush_timer_.stop();
  setPlainText(text);
}

void ResultBox::flush() {
  flush_timer_.stop();
  if (pending_.isEmpty()) return;
  QTextDocument* document = this->document();
  // Switching undo off and on again empties the undo stack, as an edit that cannot be undone leaves it.
  document->setUndoRedoEnabled(false);
  QTextCursor cursor(document);
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(pending_);
  document->setUndoRedoEnabled(true);
  pending_.clear();
  setTextCursor(cursor);
  ensureCursorVisible();
}

namespace {

// Whatever the user does comes after the words appended before it.
bool user_acts(const QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::DragEnter:
    case QEvent::Drop:
    case QEvent::FocusIn:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool ResultBox::event(QEvent* event) {
  if (user_acts(event)) flush();
  return QPlainTextEdit::event(event);
}

bool ResultBox::viewportEvent(QEvent* event) {
  if (user_acts(event)) flush();
  return QPlainTextEdit::viewportEvent(event);
}

}  // namespace lexomir::ui
