#include "app/carried_files.h"

#include <QFile>

namespace lexomir::ui {
namespace {

QByteArray read_resource(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace

QByteArray engine_bytes() { return read_resource(QStringLiteral(":/lexomir/jedata.dll")); }

int selected_skin(int number) {
  if (number == 0) return kSkinCount;
  return number >= 1 && number <= kSkinCount ? number : 0;
}

QByteArray skin_bytes(int number) {
  const int skin = selected_skin(number);
  if (skin == 0) return {};
  return read_resource(QStringLiteral(":/lexomir/skins/%1.she").arg(skin, 2, 10, QLatin1Char('0')));
}

}  // namespace lexomir::ui
