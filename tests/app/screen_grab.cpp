// Writes what the X server shows to a PNG file, as the end-to-end check's screenshot. Run with the xcb
// platform on the server's DISPLAY: screen_grab OUT.png [WINDOW_ID]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char* argv[]) {
  QGuiApplication application(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: screen_grab OUT.png [WINDOW_ID]\n");
    return 2;
  }
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return 1;
  const WId window = argc > 2 ? static_cast<WId>(QByteArray(argv[2]).toULongLong()) : 0;
  const QPixmap shot = screen->grabWindow(window);
  return !shot.isNull() && shot.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
