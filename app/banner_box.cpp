#include "app/banner_box.h"

#include <QPainter>

namespace lexomir::ui {

BannerBox::BannerBox(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
}

void BannerBox::set_picture(QImage picture) {
  picture_ = std::move(picture);
  update();
}

void BannerBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(contentsRect(), picture_);
}

}  // namespace lexomir::ui
