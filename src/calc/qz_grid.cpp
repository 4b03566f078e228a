#include "calc/qz_grid.h"

#include <cmath>
#include <string>

#include "common/error.h"
#include "common/number_format.h"

namespace quorrel {

namespace {

//! Refuses a count that would overrun the plot's storage or leave the step undefined.
void RequirePointCount(int count, const char* what) {
  if (count >= 1 && count <= kMaxRunPoints) return;
  throw QuorrelError(std::string(what) + " must lie between 1 and " +
                     FormatPrintfD(kMaxRunPoints) + ", not " + FormatPrintfD(count));
}

}  // namespace

std::vector<double> QzGrid(const CalcSettings& settings, const MeasuredData& data) {
  // The step is formed from edtNumPoints even when the measured points replace the grid.
  RequirePointCount(settings.edtNumPoints, "the number of points");
  const double step = (settings.edtMaxQ - settings.edtminQ) / settings.edtNumPoints;
  if (!std::isfinite(step)) throw ArithmeticFault("overflow in the Qz step");
  // A file that held no point leaves the computed grid.
  if (data.loaded() && data.count() > 0 && !settings.cbUserRange) {
    RequirePointCount(data.count(), "the number of measured points");
    return data.qz;
  }
  std::vector<double> qz(static_cast<std::size_t>(settings.edtNumPoints));
  for (std::size_t i = 0; i < qz.size(); ++i) {
    qz[i] = settings.edtminQ + static_cast<double>(i) * step;
    if (!std::isfinite(qz[i])) throw ArithmeticFault("overflow in the Qz grid");
  }
  return qz;
}

}  // namespace quorrel
