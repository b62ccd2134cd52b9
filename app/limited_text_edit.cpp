#include "app/limited_text_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

#include "app/gbk_string.h"

namespace lexomir::ui {

LimitedTextEdit::LimitedTextEdit(int byte_limit, QWidget* parent)
    : QPlainTextEdit(parent), byte_limit_(byte_limit) {}

QString LimitedTextEdit::fitting_part(const QString& text) const {
  const QString kept = toPlainText().remove(textCursor().selectionStart(),
                                            textCursor().selectionEnd() - textCursor().selectionStart());
  int room = byte_limit_ - gbk_length(kept);
  if (room <= 0) return {};
  if (gbk_length(text) <= room) return text;
  // Only reached when the text overflows, so walking at most `room` characters is enough.
  qsizetype end = 0;
  while (end < text.size()) {
    const qsizetype step = text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
    const int bytes = gbk_length(text.mid(end, step));
    if (bytes > room) break;
    room -= bytes;
    end += step;
  }
  return text.left(end);
}

void LimitedTextEdit::keyPressEvent(QKeyEvent* event) {
  QString typed = event->text();
  const bool is_line_break = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (is_line_break) typed = QStringLiteral("\n");
  const bool inserts = !typed.isEmpty() && (is_line_break || typed.at(0).isPrint()) &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if (inserts && fitting_part(typed) != typed) {
    QApplication::beep();
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void LimitedTextEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (event->commitString().isEmpty()) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  const QString fits = fitting_part(event->commitString());
  if (fits == event->commitString()) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent trimmed(event->preeditString(), event->attributes());
  trimmed.setCommitString(fits, event->replacementStart(), event->replacementLength());
  QPlainTextEdit::inputMethodEvent(&trimmed);
}

void LimitedTextEdit::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText()) return;
  QMimeData plain;
  plain.setText(fitting_part(source->text()));
  QPlainTextEdit::insertFromMimeData(&plain);
}

}  // namespace lexomir::ui
