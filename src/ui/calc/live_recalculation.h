#pragma once
// Recalculation while the user edits: shortly after a change the curves are computed again.
// Changes that come faster than the calculations finish are gathered into one request.

#include <functional>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace quorrel {

class CalculationRunner;

class LiveRecalculation : public QObject {
  Q_OBJECT

 public:
  //! `recalculate` requests the calculations from `runner`.
  LiveRecalculation(CalculationRunner& runner, std::function<void()> recalculate,
                    QObject* parent = nullptr);

  void setEnabled(bool on);
  bool enabled() const { return enabled_; }

  //! Something the curves depend on has changed.
  void changed();

  //! The quiet time after a change before the curves are requested, unless the last
  //! calculations took less than kFastMs: then they follow the change at once.
  static constexpr int kDelayMs = 60;
  static constexpr int kFastMs = 10;

 private:
  void due();
  void request();

  CalculationRunner& runner_;
  std::function<void()> recalculate_;
  QTimer delay_;
  bool enabled_ = true;
  bool waiting_ = false;  //!< a change arrived while calculations were running
  QElapsedTimer sinceRequest_;  //!< since the runner became busy
  qint64 lastDurationMs_ = -1;  //!< of the last busy spell of the runner; -1 before
};

}  // namespace quorrel
