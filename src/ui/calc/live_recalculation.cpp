#include "ui/calc/live_recalculation.h"

#include "ui/calc/calculation_runner.h"

namespace quorrel {

LiveRecalculation::LiveRecalculation(CalculationRunner& runner, std::function<void()> recalculate,
                                     QObject* parent)
    : QObject(parent), runner_(runner), recalculate_(std::move(recalculate)) {
  delay_.setSingleShot(true);
  delay_.setInterval(kDelayMs);
  connect(&delay_, &QTimer::timeout, this, &LiveRecalculation::due);
  // Every calculation is timed, those of the start and of the menus too, so that the first
  // edit already knows whether the curves keep up with typing.
  connect(&runner_, &CalculationRunner::busy, this, [this] { sinceRequest_.start(); });
  connect(&runner_, &CalculationRunner::idle, this, [this] {
    if (sinceRequest_.isValid()) {
      lastDurationMs_ = sinceRequest_.elapsed();
      sinceRequest_.invalidate();
    }
    if (!waiting_) return;
    waiting_ = false;
    request();
  });
}

void LiveRecalculation::setEnabled(bool on) {
  enabled_ = on;
  if (!on) {
    delay_.stop();
    waiting_ = false;
  }
}

void LiveRecalculation::changed() {
  if (!enabled_) return;
  // Fast calculations keep up with every keystroke; the changes of one event still join.
  const bool fast = lastDurationMs_ >= 0 && lastDurationMs_ < kFastMs;
  delay_.start(fast ? 0 : kDelayMs);
}

void LiveRecalculation::due() {
  // While calculations run, one more request follows when they have ended.
  if (runner_.running() > 0) {
    waiting_ = true;
  } else {
    request();
  }
}

void LiveRecalculation::request() { recalculate_(); }

}  // namespace quorrel
