#pragma once
// The arguments the program is started with.

#include <optional>
#include <string>
#include <vector>

namespace quorrel {

//! What the arguments ask of start-up.
struct StartupSwitches {
  bool showSplash = true;         //!< false with "nosplash"
  bool loadMaterialTable = true;  //!< false with "nodatabase": the table waits for its first edit
  std::optional<std::string> modelFile;   //!< an argument ending in ".par" or ".layers"
  std::optional<std::string> dataFile;    //!< an argument ending in ".dat" or ".ort"
  std::optional<std::string> projectFile;  //!< an argument ending in ".qproj"
  std::optional<std::string> screenshot;  //!< the file after "--screenshot"
  std::optional<std::string> printPdf;    //!< the file after "--print-pdf"
  //! Set when the arguments cannot be followed ("--screenshot" without a file).
  std::optional<std::string> error;
};

//! "nosplash" and "nodatabase" match only as whole, case-sensitive arguments. A model and a
//! data file are recognised by their extension (either case); the last of each kind counts.
//! Every other argument is ignored.
StartupSwitches ReadCommandLine(const std::vector<std::string>& arguments);

}  // namespace quorrel
