#pragma once
// The program's only window: its controls in fixed places, the handlers of the events it takes up, and
// the one-click dispatch that starts a method on a thread of its own.
#include <QWidget>
#include <memory>

#include "app/method_runner.h"
#include "app/ui_bridge.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace lexomir::ui {

class BannerBox;
class LimitedTextEdit;
class ResultBox;

inline constexpr int kOuterWidth = 368;
inline constexpr int kOuterHeight = 544;
inline constexpr int kQuestionByteLimit = 452;

class MainWindow : public QWidget {
 public:
  explicit MainWindow(MethodSet methods, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The window operations bound to this window, for method threads.
  std::shared_ptr<WindowOperations> operations() const { return operations_; }

  // Handlers, public so that tests can call them as the events would.
  void on_zhidao_clicked();
  void on_search_clicked();
  void one_click_dispatch();
  void copy_result();
  void clear_boxes();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void build_controls();
  // Keeps the outer size, frame included, at the fixed size once the frame's width is known.
  void fit_outer_size();

  bool placed_ = false;
  MethodSet methods_;
  std::shared_ptr<UiBridge> bridge_;
  std::shared_ptr<WindowOperations> operations_;

  BannerBox* banner_ = nullptr;
  QGroupBox* question_group_ = nullptr;
  LimitedTextEdit* question_ = nullptr;
  QGroupBox* method_group_ = nullptr;
  QRadioButton* zhidao_ = nullptr;
  QRadioButton* search_ = nullptr;
  QLabel* label_ = nullptr;
  QGroupBox* proxy_group_ = nullptr;
  QLineEdit* proxy_ = nullptr;
  QGroupBox* result_group_ = nullptr;
  ResultBox* result_ = nullptr;
  QPushButton* clear_ = nullptr;
  QPushButton* one_click_ = nullptr;
  QPushButton* copy_ = nullptr;
  QLabel* feedback_link_ = nullptr;
  QLabel* contact_link_ = nullptr;
};

}  // namespace lexomir::ui
