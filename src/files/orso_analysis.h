#pragma once
// The results of a fit in the header of an ORSO file: the analysis block that we write after
// a fit and read back when such a file is opened.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorrel {

//! One fitted value with its label as the fit lists it, and its standard error when the
//! method gives one.
struct OrsoFittedValue {
  std::string name;
  double value = 0.0;
  std::optional<double> error;

  friend bool operator==(const OrsoFittedValue&, const OrsoFittedValue&) = default;
};

//! What a fit found.
struct OrsoFitSummary {
  std::string method;     //!< as the fit dialog names it
  std::string weighting;  //!< as the fit dialog names it
  double chiSquare = 0.0;
  std::optional<double> reducedChiSquare;
  std::optional<int> degreesOfFreedom;
  std::vector<OrsoFittedValue> values;

  friend bool operator==(const OrsoFitSummary&, const OrsoFitSummary&) = default;
};

//! The header lines "analysis:" and below, each ending in "\n": the software, the method, the
//! weighting, the chi-square (reduced, with its degrees of freedom, when known) and the fitted
//! values with their errors; numbers as the shortest text
//! that reads back as the same double.
std::string OrsoAnalysisText(const OrsoFitSummary& fit, const std::string& software);

//! The analysis block of the file's first header, when it has one that reads as such.
//! Throws FileError when the file is not an ORSO file.
std::optional<OrsoFitSummary> ReadOrsoFitSummary(const std::filesystem::path& path);

//! The summary as lines for the user: the method and weighting, the chi-square, and one line
//! per value ("name = value ± error").
std::vector<std::string> OrsoFitSummaryLines(const OrsoFitSummary& fit);

}  // namespace quorrel
