#pragma once
// The picture box at the top of the window: a plain border with the picture stretched over the whole
// inside, aspect ratio not kept.
#include <QFrame>
#include <QImage>

namespace lexomir::ui {

class BannerBox : public QFrame {
 public:
  explicit BannerBox(QWidget* parent = nullptr);

  void set_picture(QImage picture);
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace lexomir::ui
