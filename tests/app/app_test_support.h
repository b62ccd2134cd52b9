#pragma once
// Shared by the window's tests: finding controls by the names the window gives them, methods that record
// which one a click started, and GBK literals.
#include <QTest>
#include <QWidget>
#include <atomic>
#include <string>

#include "app/control_names.h"
#include "app/gbk_string.h"
#include "app/main_window.h"

namespace lexomir::testing {

template <typename T>
T* control(QWidget* window, const char* name) {
  return window->findChild<T*>(QString::fromUtf8(name));
}

// Counts the starts of each method; the methods themselves do nothing.
struct MethodCounter {
  std::atomic<int> keyword{0};
  std::atomic<int> highlight{0};

  ui::MethodSet methods() {
    return {[this](WindowOperations&) { ++keyword; }, [this](WindowOperations&) { ++highlight; }};
  }
};

inline QString utf8(const char* text) { return QString::fromUtf8(text); }

// Types each character as a key press carrying it, as a keyboard or an input method would deliver it.
// QTest::keyClicks takes Latin-1 only.
inline void type_text(QWidget* widget, const QString& text) {
  for (const QChar c : text)
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// "分词" (segmentation), one two-byte GBK character repeated.
inline constexpr char kTwoChineseUtf8[] = "\xe5\x88\x86\xe8\xaf\x8d";
// "；" the full-width semicolon, in GBK.
inline constexpr char kSemicolonGbk[] = "\xa3\xbb";

}  // namespace lexomir::testing
