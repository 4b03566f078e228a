#include "fit/fit_uncertainties.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

#include <gsl/gsl_linalg.h>

#include "fit/parameter_labels.h"

namespace quorrel {

namespace {

// Below this reciprocal condition number some combination of the varied values changes the
// curve hardly more than the derivatives' own error (values that act exactly alike come out
// near 1e-5): the data cannot tell its values apart.
constexpr double kIllConditioned = 1e-4;
// An entry takes part in that combination when its share of it is at least this.
constexpr double kWeakShare = 0.3;

struct MatrixFree {
  void operator()(gsl_matrix* m) const { gsl_matrix_free(m); }
};
struct VectorFree {
  void operator()(gsl_vector* v) const { gsl_vector_free(v); }
};
using Matrix = std::unique_ptr<gsl_matrix, MatrixFree>;
using Vector = std::unique_ptr<gsl_vector, VectorFree>;

}  // namespace

FitUncertainties EstimateUncertainties(std::span<const int> varied,
                                       std::span<const double> jacobian,
                                       std::span<const double> residuals, bool absoluteErrors) {
  const std::size_t n = residuals.size();
  const std::size_t columns = varied.size();
  if (columns < 1 || n <= columns || jacobian.size() != n * columns) {
    throw std::invalid_argument("uncertainties need more residuals than varied values");
  }
  FitUncertainties result;
  result.varied.assign(varied.begin(), varied.end());
  result.degreesOfFreedom = static_cast<int>(n - columns);
  double sum = 0.0;
  for (const double r : residuals) sum += r * r;
  result.reducedChiSquare = sum / result.degreesOfFreedom;

  // Columns scaled to unit length, so that the conditioning reflects how the varied values
  // act on the curve, not their units. Columns of entries without any effect are left out.
  std::vector<double> norms(columns, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < columns; ++j) norms[j] += jacobian[i * columns + j] * jacobian[i * columns + j];
  }
  std::vector<std::size_t> active;
  for (std::size_t j = 0; j < columns; ++j) {
    norms[j] = std::sqrt(norms[j]);
    if (norms[j] > 0.0) {
      active.push_back(j);
    } else {
      result.undetermined.push_back(static_cast<int>(j));
    }
  }
  const std::size_t q = active.size();
  std::vector<double> covariance(columns * columns, std::numeric_limits<double>::quiet_NaN());
  if (q > 0) {
    const Matrix a(gsl_matrix_alloc(n, q));
    const Matrix v(gsl_matrix_alloc(q, q));
    const Vector s(gsl_vector_alloc(q));
    const Vector work(gsl_vector_alloc(q));
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t k = 0; k < q; ++k) {
        gsl_matrix_set(a.get(), i, k, jacobian[i * columns + active[k]] / norms[active[k]]);
      }
    }
    if (gsl_linalg_SV_decomp(a.get(), v.get(), s.get(), work.get()) != GSL_SUCCESS) {
      throw std::runtime_error("the singular value decomposition of the Jacobian failed");
    }
    const double largest = gsl_vector_get(s.get(), 0);
    const double smallest = gsl_vector_get(s.get(), q - 1);
    result.reciprocalCondition = q < columns ? 0.0 : smallest / largest;
    if (smallest < kIllConditioned * largest) {
      for (std::size_t k = 0; k < q; ++k) {
        if (std::fabs(gsl_matrix_get(v.get(), k, q - 1)) >= kWeakShare) {
          result.undetermined.push_back(static_cast<int>(active[k]));
        }
      }
    }
    // (JsᵀJs)⁻¹ = V S⁻² Vᵀ of the scaled columns.
    for (std::size_t a1 = 0; a1 < q; ++a1) {
      for (std::size_t b1 = 0; b1 < q; ++b1) {
        double c = 0.0;
        for (std::size_t k = 0; k < q; ++k) {
          const double sk = gsl_vector_get(s.get(), k);
          c += gsl_matrix_get(v.get(), a1, k) * gsl_matrix_get(v.get(), b1, k) / (sk * sk);
        }
        covariance[active[a1] * columns + active[b1]] = c;
      }
    }
  }
  std::sort(result.undetermined.begin(), result.undetermined.end());

  const double scale = absoluteErrors ? 1.0 : result.reducedChiSquare;
  result.standardErrors.resize(columns);
  result.correlations.resize(columns * columns);
  for (std::size_t j = 0; j < columns; ++j) {
    result.standardErrors[j] = norms[j] > 0.0
                                   ? std::sqrt(scale * covariance[j * columns + j]) / norms[j]
                                   : std::numeric_limits<double>::infinity();
  }
  for (std::size_t a1 = 0; a1 < columns; ++a1) {
    for (std::size_t b1 = 0; b1 < columns; ++b1) {
      result.correlations[a1 * columns + b1] =
          a1 == b1 ? 1.0
                   : covariance[a1 * columns + b1] /
                         std::sqrt(covariance[a1 * columns + a1] * covariance[b1 * columns + b1]);
    }
  }
  return result;
}

std::string UndeterminedWarning(const ParameterSet& set, const FitUncertainties& uncertainties) {
  if (uncertainties.undetermined.empty()) return "";
  std::string names;
  for (const int position : uncertainties.undetermined) {
    if (!names.empty()) names += ", ";
    names += ParameterName(set, uncertainties.varied[static_cast<std::size_t>(position)]);
  }
  return "ill-conditioned fit: the data do not determine " + names +
         " (standard errors not meaningful)";
}

}  // namespace quorrel
