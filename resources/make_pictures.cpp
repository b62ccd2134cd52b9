// Draws the banner (464 x 72 JPEG) and the icon (64 x 64 PNG) that the program carries. Run once by hand
// when the pictures change; the results are kept beside this file:
//   g++ -std=c++20 -fPIC make_pictures.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/make_pictures
//   QT_QPA_PLATFORM=offscreen /tmp/make_pictures resources/
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

// "词" (word), the program's mark.
const char kMark[] = "\xe8\xaf\x8d";
// "一键中文分词" (one-click Chinese word segmentation).
const char kTagline[] = "\xe4\xb8\x80\xe9\x94\xae\xe4\xb8\xad\xe6\x96\x87\xe5\x88\x86\xe8\xaf\x8d";
// "中文 | 分词 | 工具" as separated words, the thing the program makes.
const char kWords[] =
    "\xe4\xb8\xad\xe6\x96\x87\xef\xbd\x9c\xe5\x88\x86\xe8\xaf\x8d\xef\xbd\x9c\xe5\xb7\xa5\xe5\x85\xb7";

void draw_mark(QPainter& painter, const QRectF& box, const QColor& ground, const QColor& ink) {
  QPainterPath rounded;
  rounded.addRoundedRect(box, box.width() * 0.18, box.width() * 0.18);
  painter.fillPath(rounded, ground);
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(static_cast<int>(box.height() * 0.68));
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(ink);
  painter.drawText(box, Qt::AlignCenter, QString::fromUtf8(kMark));
}

QImage banner() {
  QImage image(464, 72, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient sky(0, 0, 464, 72);
  sky.setColorAt(0.0, QColor(18, 62, 120));
  sky.setColorAt(0.6, QColor(24, 110, 170));
  sky.setColorAt(1.0, QColor(40, 160, 150));
  painter.fillRect(image.rect(), sky);
  // Faint rows of dashes, like a text cut into words.
  painter.setPen(QPen(QColor(255, 255, 255, 28), 3, Qt::SolidLine, Qt::RoundCap));
  for (int row = 0; row < 4; ++row) {
    int x = 250 + (row % 2) * 14;
    const int y = 14 + row * 15;
    for (int word = 0; x < 452; ++word) {
      const int length = 14 + ((row * 7 + word * 11) % 4) * 9;
      painter.drawLine(x, y, std::min(x + length, 452), y);
      x += length + 10;
    }
  }
  draw_mark(painter, QRectF(14, 10, 52, 52), QColor(255, 255, 255), QColor(18, 62, 120));
  QFont title(QStringLiteral("DejaVu Sans"));
  title.setPixelSize(30);
  title.setBold(true);
  painter.setFont(title);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(80, 6, 220, 38), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lexomir"));
  QFont line(QStringLiteral("WenQuanYi Micro Hei"));
  line.setPixelSize(16);
  painter.setFont(line);
  painter.setPen(QColor(220, 236, 250));
  painter.drawText(QRectF(82, 42, 200, 24), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(kTagline));
  line.setPixelSize(18);
  painter.setFont(line);
  painter.setPen(QColor(255, 255, 255, 220));
  painter.drawText(QRectF(250, 40, 200, 26), Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(kWords));
  return image;
}

QImage icon() {
  QImage image(64, 64, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  draw_mark(painter, QRectF(2, 2, 60, 60), QColor(24, 110, 170), Qt::white);
  return image;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication application(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  const bool ok = banner().save(folder + QStringLiteral("/banner.jpg"), "JPEG", 92) &&
                  icon().save(folder + QStringLiteral("/lexomir.png"), "PNG");
  if (!ok) std::fprintf(stderr, "make_pictures: could not write the pictures\n");
  return ok ? 0 : 1;
}
