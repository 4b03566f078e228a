#include "shell/status_texts.h"

#include "common/number_format.h"

namespace quorrel {

namespace {

std::string Readout(const char* xName, const char* yName, std::optional<DataPoint> point) {
  const DataPoint shown = point.value_or(DataPoint{});
  return std::string(xName) + " =" + FormatPattern(shown.x, "0.0000") + "; " + yName + " = " +
         FormatPattern(shown.y, "0.000E+00");
}

}  // namespace

std::string ReflectivityReadout(std::optional<DataPoint> point) {
  return Readout("Qz", "R", point);
}

std::string ProfileReadout(std::optional<DataPoint> point) { return Readout("z", "rho", point); }

std::string LogoHoverText(const std::string& address) {
  return "click here connect to " + address + " using your default web browser";
}

std::string LogoConnectingText(const std::string& address) {
  return "trying to connect to " + address + " ...";
}

std::string LogoFailureText(const std::string& address) {
  return "could not connect to " + address;
}

std::string FittingRegionText(double low, double high) {
  return "fitting region is set to " + FormatPattern(low, "0.000") + " < Q < " +
         FormatPattern(high, "0.000");
}

}  // namespace quorrel
