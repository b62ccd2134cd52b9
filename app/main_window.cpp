#include "app/main_window.h"

#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

#include "app/banner_box.h"
#include "app/captions.h"
#include "app/control_names.h"
#include "app/gbk_string.h"
#include "app/jpeg_image.h"
#include "app/limited_text_edit.h"
#include "app/links.h"
#include "app/result_box.h"
#include "app/window_binding.h"

namespace lexomir::ui {
namespace {

template <typename W>
W* place(W* widget, const char* name, int x, int y, int width, int height) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setGeometry(x, y, width, height);
  return widget;
}

// Black on white, and no selection shown while the box has not the focus.
void dress_edit_box(QWidget* box) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::white);
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
  box->setPalette(palette);
}

QPlainTextEdit* dress_multi_line(QPlainTextEdit* box) {
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  box->setTabChangesFocus(true);
  box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  dress_edit_box(box);
  return box;
}

QPushButton* dress_button(QPushButton* button, const char* caption) {
  button->setText(QString::fromUtf8(caption));
  // Enter must press no button.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QLabel* make_link(QWidget* parent, const char* caption, const char* target) {
  auto* link = new QLabel(parent);
  link->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                    .arg(QString::fromUtf8(target), QString::fromUtf8(caption).toHtmlEscaped()));
  link->setTextFormat(Qt::RichText);
  link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
  link->setOpenExternalLinks(true);
  return link;
}

}  // namespace

MainWindow::MainWindow(MethodSet methods, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      methods_(std::move(methods)),
      bridge_(std::make_shared<UiBridge>(this)) {
  setWindowTitle(QString::fromUtf8(kWindowCaption));
  setWindowIcon(QIcon(QStringLiteral(":/lexomir/lexomir.png")));
  setFixedSize(kOuterWidth, kOuterHeight);
  build_controls();
  operations_ =
      std::make_shared<WindowBinding>(bridge_, BoundWidgets{question_, proxy_, one_click_, result_});

  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  connect(zhidao_, &QRadioButton::clicked, this, [this] { on_zhidao_clicked(); });
  connect(search_, &QRadioButton::clicked, this, [this] { on_search_clicked(); });
  connect(one_click_, &QPushButton::clicked, this, [this] { one_click_dispatch(); });
  connect(copy_, &QPushButton::clicked, this, [this] { copy_result(); });
  connect(clear_, &QPushButton::clicked, this, [this] { clear_boxes(); });
}

MainWindow::~MainWindow() {
  // Before any widget goes: a method thread waiting in a hand-over is let go and touches nothing.
  bridge_->close();
}

void MainWindow::build_controls() {
  banner_ = place(new BannerBox(this), kBanner, 17, 10, 328, 56);
  QFile banner_file(QStringLiteral(":/lexomir/banner.jpg"));
  if (banner_file.open(QIODevice::ReadOnly)) banner_->set_picture(decode_jpeg(banner_file.readAll()));

  question_group_ =
      place(new QGroupBox(QString::fromUtf8(kQuestionGroupCaption), this), kGroupQuestion, 9, 74, 344, 80);
  question_ = place(new LimitedTextEdit(kQuestionByteLimit, question_group_), kQuestionBox, 8, 15, 328, 56);
  dress_multi_line(question_);

  method_group_ =
      place(new QGroupBox(QString::fromUtf8(kMethodGroupCaption), this), kGroupMethod, 9, 164, 344, 80);
  zhidao_ =
      place(new QRadioButton(QString::fromUtf8(kZhidaoCaption), method_group_), kRadioZhidao, 7, 16, 176, 20);
  search_ = place(new QRadioButton(QString::fromUtf8(kSearchCaption), method_group_), kRadioSearch, 184, 16,
                  152, 20);
  zhidao_->setChecked(true);
  label_ = place(new QLabel(QString::fromUtf8(kLabelText), method_group_), kLabel, 10, 41, 306, 24);
  label_->setWordWrap(true);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // Its own style sheet, so that no skin can take the colour away.
  label_->setStyleSheet(QStringLiteral("color: rgb(0, 136, 255); background: transparent; border: none;"));

  proxy_group_ =
      place(new QGroupBox(QString::fromUtf8(kProxyGroupCaption), this), kGroupProxy, 9, 253, 344, 44);
  proxy_ = place(new QLineEdit(proxy_group_), kProxyBox, 8, 15, 328, 20);
  dress_edit_box(proxy_);

  result_group_ =
      place(new QGroupBox(QString::fromUtf8(kResultGroupCaption), this), kGroupResult, 9, 308, 344, 128);
  result_ = place(new ResultBox(result_group_), kResultBox, 8, 16, 328, 103);
  dress_multi_line(result_);

  clear_ = place(dress_button(new QPushButton(this), kClearCaption), kClearButton, 9, 452, 97, 24);
  one_click_ =
      place(dress_button(new QPushButton(this), kOneClickCaption), kOneClickButton, 132, 452, 97, 24);
  copy_ = place(dress_button(new QPushButton(this), kCopyCaption), kCopyButton, 256, 452, 97, 24);

  feedback_link_ = place(make_link(this, kFeedbackCaption, kFeedbackTarget), kFeedbackLink, 9, 488, 134, 16);
  contact_link_ = place(make_link(this, kContactCaption, kContactTarget), kContactLink, 256, 488, 97, 16);
  contact_link_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  // Tab walks the controls top to bottom; the question box has the focus when the window opens.
  setTabOrder(question_, zhidao_);
  setTabOrder(zhidao_, search_);
  setTabOrder(search_, proxy_);
  setTabOrder(proxy_, result_);
  setTabOrder(result_, clear_);
  setTabOrder(clear_, one_click_);
  setTabOrder(one_click_, copy_);
  question_->setFocus();
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  fit_outer_size();
  // Window managers report their frame only after the first show.
  QTimer::singleShot(0, this, [this] { fit_outer_size(); });
}

void MainWindow::fit_outer_size() {
  QMargins frame;
  if (QWindow* handle = windowHandle()) frame = handle->frameMargins();
  const QSize inside(kOuterWidth - frame.left() - frame.right(), kOuterHeight - frame.top() - frame.bottom());
  if (size() != inside) setFixedSize(inside);
  if (placed_) return;
  placed_ = true;
  if (QScreen* screen = this->screen()) {
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - kOuterWidth) / 2, area.top() + (area.height() - kOuterHeight) / 2);
  }
}

void MainWindow::on_zhidao_clicked() {
  if (zhidao_->isChecked()) proxy_group_->setEnabled(true);
}

void MainWindow::on_search_clicked() {
  if (search_->isChecked()) proxy_group_->setEnabled(false);
}

void MainWindow::one_click_dispatch() {
  if (zhidao_->isChecked()) {
    start_method_thread(methods_.keyword, operations_);
  } else if (search_->isChecked()) {
    start_method_thread(methods_.highlight, operations_);
  }
}

void MainWindow::copy_result() { put_on_clipboard(to_gbk(result_->full_text())); }

void MainWindow::clear_boxes() {
  question_->setPlainText({});
  result_->replace_text({});
}

}  // namespace lexomir::ui
