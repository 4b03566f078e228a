#include "calc/point_background.h"

#include <cmath>
#include <numbers>
#include <string>

#include "common/error.h"

namespace quorrel {

namespace {

//! The form as its radio button calls it, for fault messages.
const char* FormName(BackgroundKind kind) {
  switch (kind) {
    case BackgroundKind::Constant:
      return "constant";
    case BackgroundKind::Linear:
      return "linear";
    case BackgroundKind::Gaussian:
      return "gaussian";
    case BackgroundKind::Lorentzian:
      break;
  }
  return "lorentzian";
}

//! One point's background; every intermediate is checked, as trapping arithmetic would.
class BackgroundForm {
 public:
  BackgroundForm(const CalcSettings& settings, double qz) : s_(settings), qz_(qz) {}

  double value() const {
    const double y0 = s_.edtY0, m = s_.edtM, a = s_.edtPeakA, w = s_.edtPeakW;
    const double xc = s_.edtPeakXC;
    switch (s_.background) {
      case BackgroundKind::Constant:
        return y0;
      case BackgroundKind::Linear:
        return finite(y0 + m * qz_);
      case BackgroundKind::Gaussian: {
        const double height = finite(a / (w * std::sqrt(std::numbers::pi / 2)));
        const double u = finite((qz_ - xc) / w);
        const double square = finite(u * u);
        return finite(y0 + height * std::exp(-2 * square) + m * qz_);
      }
      case BackgroundKind::Lorentzian:
        break;
    }
    const double offset = qz_ - xc;
    const double denominator = finite(4 * offset * offset + w * w);
    return finite(y0 + finite(2 * a / std::numbers::pi * w / denominator) + m * qz_);
  }

 private:
  double finite(double x) const {
    if (std::isnan(x)) {
      throw ArithmeticFault(std::string("invalid operation in the ") +
                                FormName(s_.background) + " background",
                            qz_);
    }
    if (std::isinf(x)) {
      throw ArithmeticFault(std::string("division by zero or overflow in the ") +
                                FormName(s_.background) + " background",
                            qz_);
    }
    return x;
  }

  const CalcSettings& s_;
  double qz_;
};

}  // namespace

std::vector<double> PointBackgrounds(const CalcSettings& settings, std::span<const double> qz) {
  std::vector<double> values(qz.size());
  for (std::size_t i = 0; i < qz.size(); ++i) values[i] = BackgroundForm(settings, qz[i]).value();
  return values;
}

}  // namespace quorrel
