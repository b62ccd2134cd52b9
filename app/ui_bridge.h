#pragma once
// Hands work from method threads to the window's thread and waits until it is done. The window closes the
// bridge before its widgets go away; from then on every hand-over returns at once without running, so a
// method thread that outlives the window never touches a destroyed widget and never waits forever.
#include <QObject>
#include <functional>
#include <memory>
#include <mutex>

namespace lexomir::ui {

class UiBridge {
 public:
  // `home` is the object whose thread runs the work; it must outlive the bridge's open state.
  explicit UiBridge(QObject* home);
  ~UiBridge();
  UiBridge(const UiBridge&) = delete;
  UiBridge& operator=(const UiBridge&) = delete;

  // Runs `work` on the home thread, directly when already there. False when the bridge was closed first.
  bool run(const std::function<void()>& work);
  // Called on the home thread before the widgets that the work touches are destroyed.
  void close();

 private:
  class Receiver;

  std::mutex mutex_;
  bool closed_ = false;
  std::unique_ptr<Receiver> receiver_;
};

}  // namespace lexomir::ui
