#pragma once
// The spin-flip part of quorrel-cli reflectivity: its input (a model file or a layer table)
// and its four columns.

#include <ostream>
#include <optional>
#include <string>

#include "calc/spin_flip_run.h"
#include "cli/curve_output.h"
#include "model/calc_settings.h"
#include "physics/spin_flip_stack.h"

namespace quorrel::cli {

//! The stack and the settings of a spin-flip run, and whether they came from a model file.
struct SpinFlipInput {
  SpinFlipStack stack;
  CalcSettings settings;
  bool fromModelFile = false;
  SampleModel model;  //!< the model read, for locating its errors
};

//! A layer table with the default settings (no resolution, no background), or a model's
//! layers, each with its angle, with its own settings; the guide field of `aguide` degrees and
//! `field` tesla either way, and where they are not given those of a project (90 and 0 for a
//! model file or a layer table). Errors as the readers' and SpinFlipStackOfModel's.
SpinFlipInput LoadSpinFlipInput(const std::string& path, std::optional<double> aguide,
                                std::optional<double> field, std::ostream& err);

//! One line per point: Qz, R--, R-+, R+-, R++, separated by TABs and ended by CR LF, as
//! "0.000e-00" or with 17 significant digits.
std::string SpinFlipText(const SpinFlipResult& result, Precision precision);

}  // namespace quorrel::cli
