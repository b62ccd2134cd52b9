#include "app/gbk_string.h"

#include <cstring>

#include "text/codepage.h"

namespace lexomir::ui {

QString from_gbk(const Text& text) {
  if (text.empty()) return {};
  const Bytes wide = to_wide(text, kCodePageGbk);
  // The wide text ends in a zero unit that is not part of the string; copy out, as the bytes need not be
  // aligned for char16_t.
  qsizetype units = static_cast<qsizetype>(wide.size() / 2);
  if (units > 0) --units;
  QString out(units, Qt::Uninitialized);
  std::memcpy(out.data(), wide.data().data(), static_cast<std::size_t>(units) * 2);
  if (const qsizetype nul = out.indexOf(QChar(0)); nul >= 0) out.truncate(nul);
  return out;
}

Text to_gbk(const QString& text) {
  if (text.isEmpty()) return {};
  std::string wide(static_cast<std::size_t>(text.size()) * 2 + 2, '\0');
  std::memcpy(wide.data(), text.utf16(), static_cast<std::size_t>(text.size()) * 2);
  return from_wide(Bytes(std::move(wide)), kCodePageGbk);
}

int gbk_length(const QString& text) { return static_cast<int>(to_gbk(text).size()); }

}  // namespace lexomir::ui
