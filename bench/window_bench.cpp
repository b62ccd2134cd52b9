// How smoothly the window keeps handling its events while a method thread fills the result box: a thread
// appends 20,000 words through the window operations while a timer on the window's thread notes the
// longest gap between two of its ticks.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "app/main_window.h"

namespace {

constexpr int kWords = 20000;

// Two-byte GBK characters from the first levels of the table, two to a word, then "；".
lexomir::Text word(int n) {
  lexomir::Text text;
  for (int i = 0; i < 2; ++i) {
    const int k = (n * 2 + i) % (39 * 94);
    text += static_cast<char>(0xB0 + k / 94);
    text += static_cast<char>(0xA1 + k % 94);
  }
  return text + "\xa3\xbb";
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  lexomir::ui::MainWindow window(lexomir::ui::MethodSet{});
  window.show();

  std::shared_ptr<lexomir::WindowOperations> ops = window.operations();
  QElapsedTimer clock;
  qint64 last_tick = 0;
  qint64 longest_gap = 0;
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    longest_gap = std::max(longest_gap, now - last_tick);
    last_tick = now;
  });

  std::atomic<bool> done{false};
  clock.start();
  ticker.start(1);
  std::thread method([&] {
    for (int n = 0; n < kWords; ++n) ops->append_result_text(word(n));
    done = true;
    QMetaObject::invokeMethod(
        &application, [] { QApplication::quit(); }, Qt::QueuedConnection);
  });
  QApplication::exec();
  method.join();
  const double total = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  std::printf("window: %.1f longest event gap, %.2f total\n", static_cast<double>(longest_gap) / 1e6, total);
  return done ? 0 : 1;
}
