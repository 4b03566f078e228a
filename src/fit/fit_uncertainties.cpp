#include "fit/fit_uncertainties.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

#include <gsl/gsl_linalg.h>

#include "common/error.h"
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

//! (JᵀJ)⁻¹ of Jacobian columns scaled to unit length, from their singular values, with what
//! those say about the conditioning.
struct ScaledInverse {
  std::vector<double> covariance;  // of the scaled columns, q × q
  double reciprocalCondition = 1.0;
  std::vector<std::size_t> weakest;  // the columns that make up the weakest combination
};

//! `columns` of the n × p `jacobian`, each divided by its norm.
ScaledInverse InvertScaled(std::span<const double> jacobian, std::size_t p,
                           const std::vector<std::size_t>& columns,
                           const std::vector<double>& norms) {
  const std::size_t n = jacobian.size() / p;
  const std::size_t q = columns.size();
  const Matrix a(gsl_matrix_alloc(n, q));
  const Matrix v(gsl_matrix_alloc(q, q));
  const Vector s(gsl_vector_alloc(q));
  const Vector work(gsl_vector_alloc(q));
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t k = 0; k < q; ++k) {
      gsl_matrix_set(a.get(), i, k, jacobian[i * p + columns[k]] / norms[columns[k]]);
    }
  }
  if (gsl_linalg_SV_decomp(a.get(), v.get(), s.get(), work.get()) != GSL_SUCCESS) {
    throw SolverError("the singular value decomposition of the fit's derivatives failed");
  }
  ScaledInverse inverse;
  const double largest = gsl_vector_get(s.get(), 0);
  const double smallest = gsl_vector_get(s.get(), q - 1);
  inverse.reciprocalCondition = smallest / largest;
  if (inverse.reciprocalCondition < kIllConditioned) {
    for (std::size_t k = 0; k < q; ++k) {
      if (std::fabs(gsl_matrix_get(v.get(), k, q - 1)) >= kWeakShare) {
        inverse.weakest.push_back(columns[k]);
      }
    }
  }
  // V S⁻² Vᵀ
  inverse.covariance.assign(q * q, 0.0);
  for (std::size_t a1 = 0; a1 < q; ++a1) {
    for (std::size_t b1 = 0; b1 < q; ++b1) {
      double c = 0.0;
      for (std::size_t k = 0; k < q; ++k) {
        const double sk = gsl_vector_get(s.get(), k);
        c += gsl_matrix_get(v.get(), a1, k) * gsl_matrix_get(v.get(), b1, k) / (sk * sk);
      }
      inverse.covariance[a1 * q + b1] = c;
    }
  }
  return inverse;
}

}  // namespace

FitUncertainties EstimateUncertainties(std::span<const int> varied,
                                       std::span<const double> jacobian,
                                       std::span<const double> residuals, bool absoluteErrors) {
  const std::size_t n = residuals.size();
  const std::size_t p = varied.size();
  if (p < 1 || n <= p || jacobian.size() != n * p) {
    throw std::invalid_argument("uncertainties need more residuals than varied values");
  }
  FitUncertainties result;
  result.varied.assign(varied.begin(), varied.end());
  result.degreesOfFreedom = static_cast<int>(n - p);
  double sum = 0.0;
  for (const double r : residuals) sum += r * r;
  result.reducedChiSquare = sum / result.degreesOfFreedom;

  // Columns scaled to unit length, so that the conditioning reflects how the varied values
  // act on the curve, not their units. Entries without any effect are left out.
  std::vector<double> norms(p, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < p; ++j) norms[j] += jacobian[i * p + j] * jacobian[i * p + j];
  }
  std::vector<std::size_t> active;
  for (std::size_t j = 0; j < p; ++j) {
    norms[j] = std::sqrt(norms[j]);
    if (norms[j] > 0.0) {
      active.push_back(j);
    } else {
      result.undetermined.push_back(static_cast<int>(j));
    }
  }
  // Covariances of the unscaled values, NaN beside an entry without effect.
  std::vector<double> covariance(p * p, std::numeric_limits<double>::quiet_NaN());
  if (!active.empty()) {
    const ScaledInverse inverse = InvertScaled(jacobian, p, active, norms);
    result.reciprocalCondition = active.size() < p ? 0.0 : inverse.reciprocalCondition;
    for (const std::size_t column : inverse.weakest) {
      result.undetermined.push_back(static_cast<int>(column));
    }
    const double scale = absoluteErrors ? 1.0 : result.reducedChiSquare;
    for (std::size_t a1 = 0; a1 < active.size(); ++a1) {
      for (std::size_t b1 = 0; b1 < active.size(); ++b1) {
        covariance[active[a1] * p + active[b1]] = scale *
                                                  inverse.covariance[a1 * active.size() + b1] /
                                                  (norms[active[a1]] * norms[active[b1]]);
      }
    }
  } else {
    result.reciprocalCondition = 0.0;
  }
  std::sort(result.undetermined.begin(), result.undetermined.end());

  result.standardErrors.resize(p);
  result.correlations.resize(p * p);
  for (std::size_t j = 0; j < p; ++j) {
    result.standardErrors[j] =
        norms[j] > 0.0 ? std::sqrt(covariance[j * p + j]) : std::numeric_limits<double>::infinity();
  }
  for (std::size_t a1 = 0; a1 < p; ++a1) {
    for (std::size_t b1 = 0; b1 < p; ++b1) {
      result.correlations[a1 * p + b1] =
          a1 == b1 ? 1.0
                   : covariance[a1 * p + b1] /
                         std::sqrt(covariance[a1 * p + a1] * covariance[b1 * p + b1]);
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
