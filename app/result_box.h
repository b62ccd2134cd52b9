#pragma once
// The result box. Methods append a word at a time, and laying out one long wrapped paragraph again costs
// time in proportion to its length, so appended text is gathered and laid out at most once per short
// interval. The gathered text belongs to the box at once: full_text, replace_text and anything the user
// does see it, in the order in which it came.
#include <QPlainTextEdit>
#include <QTimer>

namespace lexomir::ui {

class ResultBox : public QPlainTextEdit {
 public:
  explicit ResultBox(QWidget* parent = nullptr);

  // At the end, caret after it, scrolled into view, nothing to undo; shown within kAppendInterval.
  void append_text(const QString& text);
  QString full_text() const;
  void replace_text(const QString& text);
  // Lays out what was gathered now.
  void flush();

  static constexpr int kAppendIntervalMs = 25;

 protected:
  bool event(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  QString pending_;
  QTimer flush_timer_;
};

}  // namespace lexomir::ui
