#include "fit/parameter_labels.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "common/number_format.h"

namespace quorrel {

namespace {

//! Text before the value of one kind of entry; numbered entries put the number between prefix
//! and separator.
struct LabelForm {
  const char* prefix;
  const char* separator;  // nullptr: not numbered
  const char* pattern;
};

constexpr const char* kDensity = "0.000E+00";

LabelForm AirForm(Quantity quantity) {
  if (quantity == Quantity::Rho) return {"rho_air =   ", nullptr, kDensity};
  return {"Im(rho)_air =   ", nullptr, kDensity};
}

LabelForm LayerForm(Quantity quantity) {
  switch (quantity) {
    case Quantity::Thickness:
      return {"d_", " =     ", "###0.00"};
    case Quantity::Rho:
      return {"rho_", " =   ", kDensity};
    case Quantity::ImRho:
      return {"Im(rho)_", " =    ", kDensity};
    case Quantity::Sigma:
      break;
  }
  return {"sigma_", " = ", "##0.00"};
}

LabelForm CoreForm(Quantity quantity) {
  switch (quantity) {
    case Quantity::Thickness:
      return {"d_core =     ", nullptr, "###0.00"};
    case Quantity::Rho:
      return {"rho_core =   ", nullptr, kDensity};
    case Quantity::ImRho:
      return {"Im(rho)_core = ", nullptr, kDensity};
    case Quantity::Sigma:
      break;
  }
  return {"sigma_core =  ", nullptr, "##0.00"};
}

LabelForm BulkForm(Quantity quantity) {
  if (quantity == Quantity::Rho) return {"rho_bulk =   ", nullptr, kDensity};
  if (quantity == Quantity::ImRho) return {"Im(rho)_bulk =   ", nullptr, kDensity};
  return {"sigma_bulk =   ", nullptr, "0.00"};
}

LabelForm StackedForm(Quantity quantity) {
  switch (quantity) {
    case Quantity::Thickness:
      return {"d_ML", " = ", kDensity};
    case Quantity::Rho:
      return {"rho_ML", " = ", kDensity};
    case Quantity::ImRho:
      return {"Im(rho)_ML", " = ", kDensity};
    case Quantity::Sigma:
      break;
  }
  return {"sigma_ML", " = ", "0.00"};
}

//! `value` rounded to `digits` significant digits; zero, infinity and NaN as they are.
double RoundToSignificant(double value, int digits) {
  if (value == 0.0 || !std::isfinite(value)) return value;
  const double scale = std::pow(10.0, digits - 1 - std::floor(std::log10(std::fabs(value))));
  return std::round(value * scale) / scale;
}

}  // namespace

std::string ParameterLabel(const ParameterSet& set, int index) {
  const ParameterLayout& layout = set.layout();
  if (index > layout.listedCount()) {
    throw std::out_of_range("parameter " + std::to_string(index) + " is not listed");
  }
  const ParameterRole role = layout.role(index);
  const double value = set[index];
  if (role.medium == ParameterMedium::FunctionParameter) {
    return layout.functionParameterNames[static_cast<std::size_t>(role.number - 1)] + " = " +
           FormatPattern(value, kDensity);
  }
  LabelForm form{};
  switch (role.medium) {
    case ParameterMedium::Air:
      form = AirForm(role.quantity);
      break;
    case ParameterMedium::Layer:
      form = LayerForm(role.quantity);
      break;
    case ParameterMedium::Core:
      form = CoreForm(role.quantity);
      break;
    case ParameterMedium::Bulk:
      form = BulkForm(role.quantity);
      break;
    case ParameterMedium::Stacked:
      form = StackedForm(role.quantity);
      break;
    default:
      throw std::logic_error("an unlisted parameter has no label");
  }
  std::string label = form.prefix;
  if (form.separator != nullptr) label += std::to_string(role.number) + form.separator;
  return label + FormatPattern(value, form.pattern);
}

std::string ParameterName(const ParameterSet& set, int index) {
  const std::string label = ParameterLabel(set, index);
  return label.substr(0, label.find(" ="));
}

std::string WithStandardError(const std::string& label, double error) {
  return label + " \u00b1 " + FormatGeneral(RoundToSignificant(error, 2));
}

std::vector<FitParameter> FillParameterList(const ParameterSet& set, const VaryFlags& flags) {
  const int listed = set.layout().listedCount();
  std::vector<FitParameter> entries;
  entries.reserve(static_cast<std::size_t>(listed));
  for (int index = 1; index <= listed; ++index) {
    entries.push_back({index, ParameterLabel(set, index), index <= flags.count() && flags[index]});
  }
  return entries;
}

}  // namespace quorrel
