// The window as a user meets it: its start state, the handlers behind its controls and its keys.
#include <QClipboard>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocumentFragment>
#include <QUrl>

#include "app/banner_box.h"
#include "app/captions.h"
#include "app/links.h"
#include "app_test_support.h"

using namespace lexomir;
using namespace lexomir::testing;

class WindowTest : public QObject {
  Q_OBJECT

 public slots:
  void record_url(const QUrl& url) { opened_.append(url); }

 private slots:
  void init() {
    counter_ = std::make_unique<MethodCounter>();
    window_ = std::make_unique<ui::MainWindow>(counter_->methods());
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void controls_start_in_their_places_with_their_captions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("client_rect");
    QTest::addColumn<QString>("caption");
    auto row = [](const char* name, QRect rect, const char* caption) {
      QTest::newRow(name) << utf8(name) << rect << utf8(caption);
    };
    row(ui::kBanner, {17, 10, 328, 56}, "");
    row(ui::kGroupQuestion, {9, 74, 344, 80}, ui::kQuestionGroupCaption);
    row(ui::kQuestionBox, {17, 89, 328, 56}, "");
    row(ui::kGroupMethod, {9, 164, 344, 80}, ui::kMethodGroupCaption);
    row(ui::kRadioZhidao, {16, 180, 176, 20}, ui::kZhidaoCaption);
    row(ui::kRadioSearch, {193, 180, 152, 20}, ui::kSearchCaption);
    row(ui::kLabel, {19, 205, 306, 24}, ui::kLabelText);
    row(ui::kGroupProxy, {9, 253, 344, 44}, ui::kProxyGroupCaption);
    row(ui::kProxyBox, {17, 268, 328, 20}, "");
    row(ui::kGroupResult, {9, 308, 344, 128}, ui::kResultGroupCaption);
    row(ui::kResultBox, {17, 324, 328, 103}, "");
    row(ui::kClearButton, {9, 452, 97, 24}, ui::kClearCaption);
    row(ui::kOneClickButton, {132, 452, 97, 24}, ui::kOneClickCaption);
    row(ui::kCopyButton, {256, 452, 97, 24}, ui::kCopyCaption);
    row(ui::kFeedbackLink, {9, 488, 134, 16}, ui::kFeedbackCaption);
    row(ui::kContactLink, {256, 488, 97, 16}, ui::kContactCaption);
  }
  void controls_start_in_their_places_with_their_captions() {
    QFETCH(QString, name);
    QFETCH(QRect, client_rect);
    QFETCH(QString, caption);
    auto* widget = window_->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(QRect(widget->mapTo(window_.get(), QPoint(0, 0)), widget->size()), client_rect);
    QVERIFY(widget->isVisible());
    QVERIFY(widget->isEnabled());
    QString shown;
    if (auto* group = qobject_cast<QGroupBox*>(widget)) shown = group->title();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) shown = button->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
      shown = QTextDocumentFragment::fromHtml(label->text()).toPlainText();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) shown = edit->toPlainText();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) shown = edit->text();
    QCOMPARE(shown, caption);
  }

  void window_starts_fixed_centred_with_keyword_method_chosen() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Lexomir"));
    QCOMPARE(window_->frameGeometry().size(), QSize(368, 544));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowStaysOnTopHint));
    const QRect screen = window_->screen()->geometry();
    QCOMPARE(window_->frameGeometry().topLeft(),
             QPoint((screen.width() - 368) / 2, (screen.height() - 544) / 2) + screen.topLeft());

    QVERIFY(control<QRadioButton>(window_.get(), ui::kRadioZhidao)->isChecked());
    QVERIFY(!control<QRadioButton>(window_.get(), ui::kRadioSearch)->isChecked());
    QVERIFY(control<QGroupBox>(window_.get(), ui::kGroupProxy)->isEnabled());
    auto* one_click = control<QPushButton>(window_.get(), ui::kOneClickButton);
    QVERIFY(one_click->isEnabled());
    for (auto* button : window_->findChildren<QPushButton*>()) {
      QVERIFY(!button->isDefault());
      QVERIFY(!button->autoDefault());
    }
    QCOMPARE(control<QLabel>(window_.get(), ui::kLabel)->palette().color(QPalette::WindowText),
             QColor(0, 136, 255));
    QCOMPARE(control<ui::BannerBox>(window_.get(), ui::kBanner)->picture().size(), QSize(464, 72));
  }

  // Each handler acts only when its own button reads checked; the proxy text survives both.
  void radio_buttons_switch_the_proxy_group_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("proxy_enabled");
    QTest::newRow("search") << QStringList{"search"} << false;
    QTest::newRow("search then zhidao") << QStringList{"search", "zhidao"} << true;
    QTest::newRow("zhidao already checked") << QStringList{"zhidao"} << true;
    QTest::newRow("search twice") << QStringList{"search", "search"} << false;
  }
  void radio_buttons_switch_the_proxy_group() {
    QFETCH(QStringList, clicks);
    QFETCH(bool, proxy_enabled);
    auto* proxy = control<QLineEdit>(window_.get(), ui::kProxyBox);
    proxy->setText(QStringLiteral("127.0.0.1:8080"));
    for (const QString& which : clicks) {
      auto* radio =
          control<QRadioButton>(window_.get(), which == "search" ? ui::kRadioSearch : ui::kRadioZhidao);
      QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }
    QCOMPARE(control<QGroupBox>(window_.get(), ui::kGroupProxy)->isEnabled(), proxy_enabled);
    QCOMPARE(proxy->isEnabled(), proxy_enabled);
    QCOMPARE(proxy->text(), QStringLiteral("127.0.0.1:8080"));
  }

  // A handler called while its button reads unchecked changes nothing.
  void radio_handlers_ignore_an_unchecked_button() {
    auto* group = control<QGroupBox>(window_.get(), ui::kGroupProxy);
    window_->on_search_clicked();
    QVERIFY(group->isEnabled());
    control<QRadioButton>(window_.get(), ui::kRadioSearch)->setChecked(true);
    window_->on_zhidao_clicked();
    window_->on_search_clicked();
    QVERIFY(!group->isEnabled());
  }

  void dispatch_asks_the_keyword_button_first_data() {
    QTest::addColumn<bool>("zhidao");
    QTest::addColumn<bool>("search");
    QTest::addColumn<int>("keyword_runs");
    QTest::addColumn<int>("highlight_runs");
    QTest::newRow("zhidao") << true << false << 1 << 0;
    QTest::newRow("search") << false << true << 0 << 1;
    QTest::newRow("both read checked") << true << true << 1 << 0;
    QTest::newRow("neither") << false << false << 0 << 0;
  }
  void dispatch_asks_the_keyword_button_first() {
    QFETCH(bool, zhidao);
    QFETCH(bool, search);
    QFETCH(int, keyword_runs);
    QFETCH(int, highlight_runs);
    for (auto* radio : window_->findChildren<QRadioButton*>()) radio->setAutoExclusive(false);
    control<QRadioButton>(window_.get(), ui::kRadioZhidao)->setChecked(zhidao);
    control<QRadioButton>(window_.get(), ui::kRadioSearch)->setChecked(search);
    QTest::mouseClick(control<QPushButton>(window_.get(), ui::kOneClickButton), Qt::LeftButton);
    QTRY_COMPARE(counter_->keyword + counter_->highlight, keyword_runs + highlight_runs);
    QTest::qWait(20);
    QCOMPARE(counter_->keyword.load(), keyword_runs);
    QCOMPARE(counter_->highlight.load(), highlight_runs);
  }

  void copy_puts_the_result_on_the_clipboard_even_when_empty() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* copy = control<QPushButton>(window_.get(), ui::kCopyButton);
    control<QPlainTextEdit>(window_.get(), ui::kResultBox)->setPlainText(utf8(kTwoChineseUtf8));
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(clipboard->text(), utf8(kTwoChineseUtf8));
    control<QPlainTextEdit>(window_.get(), ui::kResultBox)->clear();
    QTest::mouseClick(copy, Qt::LeftButton);
    QVERIFY(clipboard->mimeData()->hasText());
    QCOMPARE(clipboard->text(), QString());
  }

  void clear_empties_both_boxes_and_keeps_the_rest() {
    control<QPlainTextEdit>(window_.get(), ui::kQuestionBox)->setPlainText(QStringLiteral("question"));
    control<QPlainTextEdit>(window_.get(), ui::kResultBox)->setPlainText(QStringLiteral("a;b;"));
    control<QLineEdit>(window_.get(), ui::kProxyBox)->setText(QStringLiteral("10.0.0.1:80"));
    QTest::mouseClick(control<QPushButton>(window_.get(), ui::kClearButton), Qt::LeftButton);
    QCOMPARE(control<QPlainTextEdit>(window_.get(), ui::kQuestionBox)->toPlainText(), QString());
    QCOMPARE(control<QPlainTextEdit>(window_.get(), ui::kResultBox)->toPlainText(), QString());
    QCOMPARE(control<QLineEdit>(window_.get(), ui::kProxyBox)->text(), QStringLiteral("10.0.0.1:80"));
    QVERIFY(control<QRadioButton>(window_.get(), ui::kRadioZhidao)->isChecked());
  }

  // 452 bytes are 226 Chinese characters; what the program sets itself is not cut.
  void question_box_stops_user_input_at_452_bytes() {
    auto* question = control<QPlainTextEdit>(window_.get(), ui::kQuestionBox);
    const QString chinese = utf8(kTwoChineseUtf8).repeated(150);  // 300 characters, 600 bytes
    question->setFocus();
    type_text(question, chinese);
    QCOMPARE(question->toPlainText(), chinese.left(226));

    question->clear();
    QTest::keyClicks(question, QStringLiteral("a"));
    QGuiApplication::clipboard()->setText(chinese);
    question->paste();
    QCOMPARE(question->toPlainText(), QStringLiteral("a") + chinese.left(225));
    QCOMPARE(ui::gbk_length(question->toPlainText()), 451);
    QTest::keyClicks(question, QStringLiteral("bc"));  // one byte of room left
    QCOMPARE(ui::gbk_length(question->toPlainText()), 452);

    // Typing over a selection counts the room the selection frees.
    question->selectAll();
    QTest::keyClicks(question, QStringLiteral("x"));
    QCOMPARE(question->toPlainText(), QStringLiteral("x"));

    question->setPlainText(chinese);
    QCOMPARE(question->toPlainText(), chinese);
    QTest::keyClicks(question, QStringLiteral("y"));
    QCOMPARE(question->toPlainText(), chinese);

    auto* proxy = control<QLineEdit>(window_.get(), ui::kProxyBox);
    QTest::keyClicks(proxy, QString(600, QLatin1Char('1')));
    QCOMPARE(proxy->text().size(), 600);
    auto* result = control<QPlainTextEdit>(window_.get(), ui::kResultBox);
    type_text(result, chinese);
    QCOMPARE(result->toPlainText(), chinese);
  }

  void escape_closes_the_window_from_any_control_data() {
    QTest::addColumn<QString>("focus");
    QTest::newRow("question") << utf8(ui::kQuestionBox);
    QTest::newRow("proxy") << utf8(ui::kProxyBox);
    QTest::newRow("result") << utf8(ui::kResultBox);
    QTest::newRow("button") << utf8(ui::kCopyButton);
  }
  void escape_closes_the_window_from_any_control() {
    QFETCH(QString, focus);
    auto* widget = window_->findChild<QWidget*>(focus);
    window_->activateWindow();
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_Escape);
    QTRY_VERIFY(!window_->isVisible());
  }

  void enter_presses_no_button_and_breaks_lines_in_the_multi_line_boxes() {
    auto* proxy = control<QLineEdit>(window_.get(), ui::kProxyBox);
    proxy->setText(QStringLiteral("1.2.3.4:80"));
    for (auto* button : window_->findChildren<QPushButton*>()) {
      connect(button, &QPushButton::clicked, this, [this] { ++button_clicks_; });
    }
    QTest::keyClick(proxy, Qt::Key_Return);
    QTest::keyClick(proxy, Qt::Key_Enter);
    QCOMPARE(proxy->text(), QStringLiteral("1.2.3.4:80"));
    auto* one_click = control<QPushButton>(window_.get(), ui::kOneClickButton);
    one_click->setFocus();
    QTest::keyClick(one_click, Qt::Key_Return);
    QCOMPARE(button_clicks_, 0);
    QTest::qWait(20);
    QCOMPARE(counter_->keyword.load(), 0);

    auto* question = control<QPlainTextEdit>(window_.get(), ui::kQuestionBox);
    QTest::keyClicks(question, QStringLiteral("a"));
    QTest::keyClick(question, Qt::Key_Return);
    QTest::keyClicks(question, QStringLiteral("b"));
    QCOMPARE(question->toPlainText(), QStringLiteral("a\nb"));
  }

  void links_open_their_targets() {
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "record_url");
    auto* feedback = control<QLabel>(window_.get(), ui::kFeedbackLink);
    auto* contact = control<QLabel>(window_.get(), ui::kContactLink);
    QTest::mouseClick(feedback, Qt::LeftButton, {}, QPoint(8, feedback->height() / 2));
    QTest::mouseClick(contact, Qt::LeftButton, {}, QPoint(contact->width() - 8, contact->height() / 2));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(opened_, (QList<QUrl>{QUrl(utf8(ui::kFeedbackTarget)), QUrl(utf8(ui::kContactTarget))}));
  }

 private:
  std::unique_ptr<MethodCounter> counter_;
  std::unique_ptr<ui::MainWindow> window_;
  QList<QUrl> opened_;
  int button_clicks_ = 0;
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
