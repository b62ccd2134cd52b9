#pragma once
// A multi-line box whose user input stops at a number of GBK bytes, as the question box needs. Text the
// program puts in with setPlainText is not limited; only typing, pasting, dropping and input methods are.
#include <QPlainTextEdit>

namespace lexomir::ui {

class LimitedTextEdit : public QPlainTextEdit {
 public:
  explicit LimitedTextEdit(int byte_limit, QWidget* parent = nullptr);

  int byte_limit() const { return byte_limit_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  // The longest head of `text` that still fits beside what stays in the box, whole characters only.
  QString fitting_part(const QString& text) const;

  int byte_limit_;
};

}  // namespace lexomir::ui
