#include "app/ui_bridge.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <condition_variable>

namespace lexomir::ui {
namespace {

const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

struct Completion {
  std::mutex mutex;
  std::condition_variable done_signal;
  bool done = false;
  bool ran = false;

  void finish(bool did_run) {
    std::lock_guard lock(mutex);
    done = true;
    ran = did_run;
    done_signal.notify_all();
  }
};

// Qt deletes an event that was never delivered when its receiver goes away, so the destructor is where a
// waiting thread learns that its work will not run.
class CallEvent : public QEvent {
 public:
  CallEvent(const std::function<void()>& work, std::shared_ptr<Completion> completion)
      : QEvent(kCallEvent), work_(work), completion_(std::move(completion)) {}
  ~CallEvent() override {
    if (!delivered_) completion_->finish(false);
  }

  void deliver() {
    delivered_ = true;
    work_();
    completion_->finish(true);
  }

 private:
  const std::function<void()>& work_;
  std::shared_ptr<Completion> completion_;
  bool delivered_ = false;
};

}  // namespace

class UiBridge::Receiver : public QObject {
 public:
  explicit Receiver(UiBridge* bridge) : bridge_(bridge) {}

  bool event(QEvent* event) override {
    if (event->type() != kCallEvent) return QObject::event(event);
    {
      std::lock_guard lock(bridge_->mutex_);
      // Closed after the event was posted: leave it undelivered, its destructor releases the caller.
      if (bridge_->closed_) return true;
    }
    static_cast<CallEvent*>(event)->deliver();
    return true;
  }

 private:
  UiBridge* bridge_;
};

UiBridge::UiBridge(QObject* home) : receiver_(std::make_unique<Receiver>(this)) {
  receiver_->moveToThread(home->thread());
}

UiBridge::~UiBridge() { close(); }

bool UiBridge::run(const std::function<void()>& work) {
  if (QThread::currentThread() == receiver_->thread()) {
    // A blocking hand-over to one's own thread would wait for itself.
    {
      std::lock_guard lock(mutex_);
      if (closed_) return false;
    }
    work();
    return true;
  }
  auto completion = std::make_shared<Completion>();
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    QCoreApplication::postEvent(receiver_.get(), new CallEvent(work, completion));
  }
  std::unique_lock lock(completion->mutex);
  completion->done_signal.wait(lock, [&] { return completion->done; });
  return completion->ran;
}

void UiBridge::close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  // Drops what is still queued; each dropped event releases its waiting thread.
  QCoreApplication::removePostedEvents(receiver_.get(), kCallEvent);
}

}  // namespace lexomir::ui
