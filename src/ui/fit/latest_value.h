#pragma once
// Hands the newest of a stream of values from a worker thread to the user-interface thread.
// A value that arrives before the last one was taken replaces it, so a fast producer never
// floods the event queue: the window shows the newest state at the pace it can draw.

#include <functional>
#include <mutex>
#include <optional>

#include <QMetaObject>
#include <QObject>

namespace quorrel {

template <typename T>
class LatestValue {
 public:
  //! `show` runs on the thread of `receiver` with the newest value.
  LatestValue(QObject* receiver, std::function<void(const T&)> show)
      : receiver_(receiver), show_(std::move(show)) {}

  //! From any thread.
  void offer(T value) {
    bool schedule = false;
    {
      const std::lock_guard lock(mutex_);
      schedule = !pending_.has_value();
      pending_ = std::move(value);
    }
    if (schedule) {
      QMetaObject::invokeMethod(receiver_, [this] { deliver(); }, Qt::QueuedConnection);
    }
  }

  //! Shows a value still waiting, at once (on the receiver's thread).
  void flush() { deliver(); }

 private:
  void deliver() {
    std::optional<T> value;
    {
      const std::lock_guard lock(mutex_);
      value.swap(pending_);
    }
    if (value) show_(*value);
  }

  QObject* receiver_;
  std::function<void(const T&)> show_;
  std::mutex mutex_;
  std::optional<T> pending_;
};

}  // namespace quorrel
