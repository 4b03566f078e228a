#pragma once
// The texts that the main window's status bar and message boxes show for mouse actions.

#include <optional>
#include <string>

namespace quorrel {

//! A point in data coordinates, or nothing when the pixel could not be converted.
struct DataPoint {
  double x = 0;
  double y = 0;
};

//! "Qz =" x as "0.0000", "; R = " y as "0.000E+00"; zeros when the conversion failed.
std::string ReflectivityReadout(std::optional<DataPoint> point);
//! "z =" x as "0.0000", "; rho = " y as "0.000E+00"; zeros when the conversion failed.
std::string ProfileReadout(std::optional<DataPoint> point);

//! "click here connect to " the address " using your default web browser".
std::string LogoHoverText(const std::string& address);
//! "trying to connect to " the address " ...".
std::string LogoConnectingText(const std::string& address);
//! "could not connect to " the address.
std::string LogoFailureText(const std::string& address);

//! "fitting region is set to " low as "0.000", " < Q < ", high as "0.000".
std::string FittingRegionText(double low, double high);

}  // namespace quorrel
