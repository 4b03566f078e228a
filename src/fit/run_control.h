#pragma once
// The requests that reach a running fit from the dialog, safe to make from another thread.

#include <atomic>

namespace quorrel {

//! Stop and cancel requests and the tolerance, read by the engine at its tests while a window
//! may change them.
class RunControl {
 public:
  explicit RunControl(double tolerance = 1e-6) : tolerance_(tolerance) {}

  //! "&Stop": the running search ends after its current trial, then the run.
  void requestStop() { stop_ = true; }
  bool stopRequested() const { return stop_; }
  //! The dialog was closed during the run; the run notices it at its next test.
  void requestCancel() { cancel_ = true; }
  bool cancelRequested() const { return cancel_; }
  //! Every run starts without a stop request; cleared by whoever starts it, before a
  //! "&Stop" can arrive.
  void clearStop() { stop_ = false; }
  //! A new opening of the dialog starts without either request.
  void clear() {
    stop_ = false;
    cancel_ = false;
  }

  void setTolerance(double tolerance) { tolerance_ = tolerance; }
  double tolerance() const { return tolerance_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> cancel_{false};
  std::atomic<double> tolerance_;
};

}  // namespace quorrel
