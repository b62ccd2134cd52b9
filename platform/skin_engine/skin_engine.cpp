#include "platform/skin_engine/skin_engine.h"

#include <QApplication>
#include <QFile>

namespace {

constexpr char kMagic[] = {'.', 'S', 'H', 'E', '\0', '\3'};

}  // namespace

extern "C" __attribute__((visibility("default"))) int SkinH_AttachEx(const char* skin_path, const char*) {
  auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!skin_path || !application) return -1;
  QFile file(QString::fromLocal8Bit(skin_path));
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray bytes = file.readAll();
  if (bytes.size() < static_cast<qsizetype>(sizeof kMagic) ||
      !bytes.startsWith(QByteArrayView(kMagic, sizeof kMagic))) {
    return -1;
  }
  application->setStyleSheet(QString::fromUtf8(bytes.mid(sizeof kMagic)));
  return 0;
}
