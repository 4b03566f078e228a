#include "fit/levenberg_marquardt.h"

#include <cmath>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit_nlinear.h>

#include "common/error.h"
#include "fit/bounded_variable.h"
#include "fit/chi_square.h"
#include "fit/difference_jacobian.h"
#include "fit/symmetry_ties.h"

namespace quorrel {

namespace {

constexpr int kMostIterations = 200;
// Converged when every varied value moved by less than this fraction of itself...
constexpr double kStepTolerance = 1e-8;
// ... or when an accepted iteration lowered the sum of squares by less than this fraction of
// its expected scatter per degree of freedom: the values then moved by far less than their
// standard errors.
constexpr double kDecreaseTolerance = 1e-4;

//! GSL's default error handler aborts the process; the fit reads the status codes instead.
void SilenceSolverErrors() {
  static std::once_flag once;
  std::call_once(once, [] { gsl_set_error_handler_off(); });
}

struct WorkspaceFree {
  void operator()(gsl_multifit_nlinear_workspace* w) const { gsl_multifit_nlinear_free(w); }
};

//! Residuals at a point of the solver, with the curve calculated there.
struct Evaluation {
  std::vector<double> x;
  std::vector<double> residuals;
  ReflCurve curve;
};

bool SamePoint(const std::vector<double>& a, const gsl_vector* x) {
  if (a.size() != x->size) return false;
  for (std::size_t j = 0; j < a.size(); ++j) {
    if (a[j] != gsl_vector_get(x, j)) return false;
  }
  return true;
}

//! The state of one run; GSL calls back into it for residuals and derivatives.
class LeastSquaresRun {
 public:
  LeastSquaresRun(ParameterSet& set, ResidualObjective& objective,
                  const LeastSquaresRequest& request, RunControl& control, const FitEvents& events)
      : set_(set),
        objective_(objective),
        request_(request),
        control_(control),
        events_(events),
        n_(static_cast<std::size_t>(objective.residualCount())),
        p_(request.varied.size()) {
    for (std::size_t j = 0; j < p_; ++j) {
      variables_.emplace_back(j < request.bounds.size() ? request.bounds[j] : Bounds{});
    }
  }

  FitOutcome run() {
    if (p_ == 0) return evaluateOnly();
    if (n_ <= p_) throw std::invalid_argument("a least-squares fit needs more points than values");
    SilenceSolverErrors();
    gsl_multifit_nlinear_parameters parameters = gsl_multifit_nlinear_default_parameters();
    // Geodesic acceleration costs one more curve per trial (its second directional derivative,
    // by GSL's finite difference), but follows the curved valleys of thickness fits and so
    // reaches the true minimum from starts where plain steps settle in a side minimum.
    parameters.trs = gsl_multifit_nlinear_trs_lmaccel;
    parameters.scale = gsl_multifit_nlinear_scale_more;
    parameters.solver = gsl_multifit_nlinear_solver_qr;
    const std::unique_ptr<gsl_multifit_nlinear_workspace, WorkspaceFree> workspace(
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &parameters, n_, p_));
    if (!workspace) throw SolverError("Levenberg-Marquardt: no memory for the solver");
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = &LeastSquaresRun::Residuals;
    fdf.df = &LeastSquaresRun::Jacobian;
    fdf.fvv = nullptr;
    fdf.n = n_;
    fdf.p = p_;
    fdf.params = this;

    std::vector<double> start(p_);
    for (std::size_t j = 0; j < p_; ++j) start[j] = variables_[j].internal(set_[request_.varied[j]]);
    gsl_vector_view x0 = gsl_vector_view_array(start.data(), p_);
    int status = gsl_multifit_nlinear_init(&x0.vector, &fdf, workspace.get());
    if (failed_) return finish(FitEndState::Failed, 0.0);
    check(status, 0);
    double chiSquare = currentChiSquare();
    double sumOfSquares = sum(accepted_.residuals);
    for (int iteration = 1; iteration <= kMostIterations; ++iteration) {
      ++iterations_;
      if (events_.step) events_.step(iteration);
      status = gsl_multifit_nlinear_iterate(workspace.get());
      if (failed_) return finish(FitEndState::Failed, 0.0);
      // No step lowers chi-square any more: the values are at its minimum as far as the
      // derivatives can tell.
      const bool noProgress = status == GSL_ENOPROG;
      if (!noProgress) check(status, iteration);
      chiSquare = currentChiSquare();
      show(chiSquare);
      const double newSum = sum(accepted_.residuals);
      const double decrease = sumOfSquares - newSum;
      sumOfSquares = newSum;
      if (control_.cancelRequested()) control_.requestStop();
      if (control_.stopRequested()) {
        foldMagnitudes();
        return finish(FitEndState::Stopped, chiSquare);
      }
      int info = 0;
      const bool smallStep = gsl_multifit_nlinear_test(kStepTolerance, 0.0, 0.0, &info,
                                                       workspace.get()) == GSL_SUCCESS;
      const double scatter = newSum / static_cast<double>(n_ - p_);
      if (noProgress || smallStep || decrease < kDecreaseTolerance * scatter) {
        FitOutcome outcome = finish(FitEndState::Converged, chiSquare);
        outcome.uncertainties = uncertainties(foldMagnitudes());
        return outcome;
      }
    }
    foldMagnitudes();
    return finish(FitEndState::IterationLimit, chiSquare);
  }

 private:
  static int Residuals(const gsl_vector* x, void* run, gsl_vector* f) {
    return static_cast<LeastSquaresRun*>(run)->residuals(x, f);
  }
  static int Jacobian(const gsl_vector* x, void* run, gsl_matrix* jacobian) {
    return static_cast<LeastSquaresRun*>(run)->jacobian(x, jacobian);
  }

  //! The set with the varied values of the solver's point x and their ties.
  ParameterSet at(const gsl_vector* x) const {
    ParameterSet set = set_;
    for (std::size_t j = 0; j < p_; ++j)
      SetTiedValue(set, request_.varied[j], variables_[j].value(gsl_vector_get(x, j)));
    return set;
  }

  int residuals(const gsl_vector* x, gsl_vector* f) {
    const ParameterSet trial = at(x);
    std::vector<double> values(n_);
    ++evaluations_;
    if (!objective_.residuals({&trial, 1}, values)) return fail(trial);
    last_ = {{x->data, x->data + p_}, values, objective_.evaluatedCurve()};
    for (std::size_t i = 0; i < n_; ++i) gsl_vector_set(f, i, values[i]);
    if (request_.displayGraph && events_.evaluated) {
      events_.evaluated(objective_.chiSquareOf(values).value_or(0.0), last_.curve);
    }
    return GSL_SUCCESS;
  }

  //! The solver asks for derivatives only at a point it accepted, after its residuals, which
  //! are then reused as the base of the differences.
  int jacobian(const gsl_vector* x, gsl_matrix* jacobian) {
    const ParameterSet point = at(x);
    std::vector<double> base;
    if (SamePoint(last_.x, x)) base = last_.residuals;
    evaluations_ += static_cast<long long>(p_ + (base.empty() ? 1 : 0));
    std::vector<double> values(n_ * p_);
    if (!DifferenceJacobian(point, request_.varied, base, objective_, values)) return fail(point);
    if (SamePoint(last_.x, x)) {
      accepted_ = last_;
    } else {
      accepted_ = {{x->data, x->data + p_}, base, objective_.evaluatedCurve()};
    }
    // The solver moves the internal variables; the errors are those of the entries.
    entryJacobian_ = values;
    for (std::size_t j = 0; j < p_; ++j) {
      const double chain = variables_[j].derivative(gsl_vector_get(x, j));
      for (std::size_t i = 0; i < n_; ++i) {
        gsl_matrix_set(jacobian, i, j, values[i * p_ + j] * chain);
      }
    }
    return GSL_SUCCESS;
  }

  int fail(const ParameterSet& values) {
    failed_ = true;
    set_ = values;
    return GSL_EBADFUNC;
  }

  void check(int status, int iteration) const {
    if (status == GSL_SUCCESS) return;
    throw SolverError("Levenberg-Marquardt iteration " + std::to_string(iteration) + ": " +
                      gsl_strerror(status));
  }

  static double sum(const std::vector<double>& residuals) {
    double total = 0.0;
    for (const double r : residuals) total += r * r;
    return total;
  }

  double currentChiSquare() const {
    return objective_.chiSquareOf(accepted_.residuals).value_or(0.0);
  }

  //! The accepted values into the set, and what the window shows of them.
  void show(double chiSquare) {
    for (std::size_t j = 0; j < p_; ++j) {
      SetTiedValue(set_, request_.varied[j], variables_[j].value(accepted_.x[j]));
    }
    if (events_.parametersChanged) events_.parametersChanged(set_);
    if (events_.iterated) events_.iterated(chiSquare, accepted_.curve);
  }

  //! With nothing varied: the chi-square of the current values, as the search reports it.
  FitOutcome evaluateOnly() {
    std::vector<double> values(n_);
    ++evaluations_;
    ++iterations_;
    const std::optional<double> chiSquare =
        objective_.residuals({&set_, 1}, values) ? objective_.chiSquareOf(values) : std::nullopt;
    if (!chiSquare) return finish(FitEndState::Failed, 0.0);
    if (events_.iterated) events_.iterated(*chiSquare, objective_.evaluatedCurve());
    return finish(FitEndState::Converged, *chiSquare);
  }

  //! Thicknesses and roughnesses act by their magnitude: the set keeps magnitudes. Returns
  //! the sign that each varied value had.
  std::vector<double> foldMagnitudes() {
    std::vector<double> signs(p_, 1.0);
    for (std::size_t c = 0; c < p_; ++c) {
      const int index = request_.varied[c];
      if (index > set_.count()) continue;  // a measurement's entries keep their sign
      const ParameterRole role = set_.layout().role(index);
      const bool magnitude =
          role.medium != ParameterMedium::FunctionParameter &&
          (role.quantity == Quantity::Thickness || role.quantity == Quantity::Sigma);
      if (magnitude && set_[index] < 0.0) {
        signs[c] = -1.0;
        SetTiedValue(set_, index, -set_[index]);
      }
    }
    return signs;
  }

  //! From the derivatives by the entries at the solver's point (the last it asked for),
  //! turned with the values that were folded.
  FitUncertainties uncertainties(const std::vector<double>& signs) const {
    std::vector<double> jacobian(n_ * p_);
    for (std::size_t i = 0; i < n_; ++i) {
      for (std::size_t c = 0; c < p_; ++c) jacobian[i * p_ + c] = signs[c] * entryJacobian_[i * p_ + c];
    }
    return EstimateUncertainties(request_.varied, jacobian, accepted_.residuals,
                                 request_.absoluteErrors);
  }

  FitOutcome finish(FitEndState state, double chiSquare) const {
    return EndedRun(state, chiSquare, evaluations_, iterations_);
  }

  ParameterSet& set_;
  ResidualObjective& objective_;
  const LeastSquaresRequest& request_;
  RunControl& control_;
  const FitEvents& events_;
  std::size_t n_;
  std::size_t p_;
  Evaluation last_;      // the latest residuals the solver asked for
  Evaluation accepted_;  // those at the solver's current point
  std::vector<BoundedVariable> variables_;    // one per varied entry
  std::vector<double> entryJacobian_;         // by the entries, at the point last asked for
  bool failed_ = false;
  long long evaluations_ = 0;
  int iterations_ = 0;
};

}  // namespace

FitOutcome RunLevenbergMarquardt(ParameterSet& set, ResidualObjective& objective,
                                 const LeastSquaresRequest& request, RunControl& control,
                                 const FitEvents& events) {
  for (const int index : request.varied) {
    if (!set.variable(index)) {
      throw std::out_of_range("parameter " + std::to_string(index) + " cannot be varied");
    }
  }
  LeastSquaresRun run(set, objective, request, control, events);
  return run.run();
}

}  // namespace quorrel
