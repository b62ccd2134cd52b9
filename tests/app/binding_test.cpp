// The window operations as method threads use them: carried out on the window's thread while it keeps
// handling events, and harmless once the window is gone.
#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <latch>
#include <thread>

#include "app/result_box.h"
#include "app_test_support.h"
#include "segmentation/append_if_new.h"

using namespace lexomir;
using namespace lexomir::testing;

namespace {

// GBK, with the UTF-8 the widgets show beside each.
const Text kJia = "\xbc\xd7";                                                  // 甲
const Text kYi = "\xd2\xd2";                                                   // 乙
const Text kBing = "\xb1\xfb";                                                 // 丙
const Text kRunning = "\xb7\xd6\xb4\xca\xd6\xd0\x2c\xc7\xeb\xc9\xd4\xba\xf3";  // 分词中,请稍后
const char kJiaUtf8[] = "\xe7\x94\xb2";
const char kYiUtf8[] = "\xe4\xb9\x99";
const char kBingUtf8[] = "\xe4\xb8\x99";
const char kRunningUtf8[] = "\xe5\x88\x86\xe8\xaf\x8d\xe4\xb8\xad\x2c\xe8\xaf\xb7\xe7\xa8\x8d\xe5\x90\x8e";
const char kSemicolonUtf8[] = "\xef\xbc\x9b";

struct Seen {
  Text question;
  Text proxy;
  Text result;
};

}  // namespace

class BindingTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    window_ = std::make_unique<ui::MainWindow>(ui::MethodSet{});
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void every_operation_works_from_another_thread_while_events_flow() {
    control<QPlainTextEdit>(window_.get(), ui::kQuestionBox)->setPlainText(utf8(kJiaUtf8) + "a b");
    control<QLineEdit>(window_.get(), ui::kProxyBox)->setText(QStringLiteral("127.0.0.1:3128"));
    control<QLineEdit>(window_.get(), ui::kProxyBox)->setEnabled(false);  // read whether enabled or not
    auto* result = control<QPlainTextEdit>(window_.get(), ui::kResultBox);
    result->setPlainText(QStringLiteral("typed by the user"));  // leaves an undo step

    std::atomic<int> ticks{0};
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
    ticker.start(1);
    std::atomic<bool> done{false};
    std::atomic<int> ticks_seen_mid_run{-1};
    Seen seen;
    std::shared_ptr<WindowOperations> ops = window_->operations();
    std::thread method([&] {
      seen.question = ops->read_question_text();
      seen.proxy = ops->read_proxy_text();
      ops->set_button_enabled(false);
      ops->set_button_caption(kRunning);
      ops->set_result_text(kJia + kSemicolonGbk);
      // The window's thread must go on with its own events between two hand-overs.
      const int before = ticks;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      ticks_seen_mid_run = ticks - before;
      for (int i = 0; i < 200; ++i) ops->append_result_text(kYi);
      ops->append_result_text(kSemicolonGbk);
      seen.result = ops->read_result_text();
      ops->put_clipboard_text(kBing);
      done = true;
    });
    QTRY_VERIFY(done);
    method.join();

    QCOMPARE(seen.question, kJia + "a b");
    QCOMPARE(seen.proxy, Text("127.0.0.1:3128"));
    QVERIFY(ticks_seen_mid_run > 0);
    auto* button = control<QPushButton>(window_.get(), ui::kOneClickButton);
    QVERIFY(!button->isEnabled());
    QCOMPARE(button->text(), utf8(kRunningUtf8));
    const QString expected = utf8(kJiaUtf8) + kSemicolonUtf8 + utf8(kYiUtf8).repeated(200) + kSemicolonUtf8;
    QTRY_COMPARE(result->toPlainText(), expected);
    Text expected_gbk = kJia + kSemicolonGbk;
    for (int i = 0; i < 200; ++i) expected_gbk += kYi;
    QCOMPARE(seen.result, expected_gbk + kSemicolonGbk);
    // Appending leaves the caret at the end, in view, and nothing to undo.
    QCOMPARE(result->textCursor().position(), static_cast<int>(expected.size()));
    QVERIFY(!result->document()->isUndoAvailable());
    QCOMPARE(result->verticalScrollBar()->value(), result->verticalScrollBar()->maximum());
    QCOMPARE(QGuiApplication::clipboard()->text(), utf8(kBingUtf8));
  }

  // A blocking hand-over to one's own thread would wait for itself.
  void operations_on_the_windows_own_thread_run_directly() {
    std::shared_ptr<WindowOperations> ops = window_->operations();
    ops->set_result_text(kJia);
    ops->append_result_text(kYi);
    QCOMPARE(ops->read_result_text(), kJia + kYi);
    ops->put_clipboard_text({});
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
  }

  // Clear during a run: the later words go into the emptied box, and their duplicate test sees only what
  // came after the clearing.
  void clear_during_a_run_starts_the_duplicate_test_afresh() {
    std::latch cleared(1);
    std::atomic<bool> done{false};
    std::shared_ptr<WindowOperations> ops = window_->operations();
    std::thread method([&] {
      append_if_new(*ops, kJia);
      append_if_new(*ops, kYi);
      cleared.wait();
      append_if_new(*ops, kYi);
      append_if_new(*ops, kYi);
      append_if_new(*ops, kBing);
      done = true;
    });
    auto* result = control<QPlainTextEdit>(window_.get(), ui::kResultBox);
    QTRY_COMPARE(result->toPlainText(), utf8(kJiaUtf8) + kSemicolonUtf8 + utf8(kYiUtf8) + kSemicolonUtf8);
    QTest::mouseClick(control<QPushButton>(window_.get(), ui::kClearButton), Qt::LeftButton);
    QCOMPARE(result->toPlainText(), QString());
    cleared.count_down();
    QTRY_VERIFY(done);
    method.join();
    QTRY_COMPARE(result->toPlainText(), utf8(kYiUtf8) + kSemicolonUtf8 + utf8(kBingUtf8) + kSemicolonUtf8);
  }

  // Appended text is laid out a little later, but it is part of the box at once, and what the user does
  // comes after it.
  void appended_text_belongs_to_the_box_before_it_is_shown() {
    std::shared_ptr<WindowOperations> ops = window_->operations();
    auto* result = control<ui::ResultBox>(window_.get(), ui::kResultBox);
    ops->append_result_text(kJia);
    QCOMPARE(ops->read_result_text(), kJia);
    result->setFocus();
    QTest::keyClicks(result, QStringLiteral("x"));
    QCOMPARE(result->toPlainText(), utf8(kJiaUtf8) + "x");

    ops->append_result_text(kYi);
    QTest::mouseClick(control<QPushButton>(window_.get(), ui::kCopyButton), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), utf8(kJiaUtf8) + "x" + utf8(kYiUtf8));

    ops->append_result_text(kBing);
    QTest::mouseClick(control<QPushButton>(window_.get(), ui::kClearButton), Qt::LeftButton);
    QTest::qWait(2 * ui::ResultBox::kAppendIntervalMs);
    QCOMPARE(result->toPlainText(), QString());
    QCOMPARE(ops->read_result_text(), Text());
  }

  // A method thread waiting in a hand-over that the window never carries out is let go when the window
  // goes, and everything it does afterwards is a quiet no-op.
  void window_going_away_releases_a_waiting_method_thread() {
    std::shared_ptr<WindowOperations> ops = window_->operations();
    std::atomic<bool> asked{false};
    std::atomic<bool> done{false};
    Text question_after = "unset";
    std::thread method([&] {
      asked = true;
      ops->append_result_text(kJia);  // queued while the window's thread is busy below
      ops->set_button_enabled(true);
      question_after = ops->read_question_text();
      done = true;
    });
    while (!asked) std::this_thread::yield();
    // Busy without handling events, so the hand-over is still queued when the window goes.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    window_.reset();
    QTRY_VERIFY(done);
    method.join();
    QCOMPARE(question_after, Text());
  }

  void a_run_that_keeps_appending_survives_the_window() {
    std::shared_ptr<WindowOperations> ops = window_->operations();
    std::atomic<int> appended{0};
    std::atomic<bool> done{false};
    std::thread method([&] {
      for (int i = 0; i < 2000; ++i) {
        ops->append_result_text(kYi);
        ops->read_result_text();
        ++appended;
      }
      done = true;
    });
    QTRY_VERIFY(appended > 20);
    window_.reset();
    QTRY_VERIFY(done);
    method.join();
  }

  // The program's end asks whether a run is under way to decide whether it may tear down; a run counts
  // until what it held, the window binding included, has been released.
  void a_run_counts_until_its_window_binding_is_released() {
    struct SlowToRelease : WindowOperations {
      std::atomic<bool>* released;
      explicit SlowToRelease(std::atomic<bool>* flag) : released(flag) {}
      ~SlowToRelease() override {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        *released = true;
      }
      Text read_question_text() override { return {}; }
      Text read_proxy_text() override { return {}; }
      void set_button_enabled(bool) override {}
      void set_button_caption(const Text&) override {}
      void set_result_text(const Text&) override {}
      Text read_result_text() override { return {}; }
      void append_result_text(const Text&) override {}
      void put_clipboard_text(const Text&) override {}
    };
    std::atomic<bool> released{false};
    std::atomic<bool> method_done{false};
    QVERIFY(ui::start_method_thread([&](WindowOperations&) { method_done = true; },
                                    std::make_shared<SlowToRelease>(&released)));
    QTRY_VERIFY(method_done);
    while (!released) {
      QCOMPARE(ui::runs_under_way(), 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    QTRY_COMPARE(ui::runs_under_way(), 0);
  }

 private:
  std::unique_ptr<ui::MainWindow> window_;
};

QTEST_MAIN(BindingTest)
#include "binding_test.moc"
