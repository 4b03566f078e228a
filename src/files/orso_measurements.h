#pragma once
// An ORSO file's data sets as the measurements of a project: the spin channels of a polarised
// measurement, or the contrasts of one sample, fitted together.

#include <filesystem>
#include <string>
#include <vector>

#include "files/measured_data_file.h"
#include "model/calc_settings.h"
#include "model/measurement.h"

namespace quorrel {

//! Reads every data set of the file as LoadOrsoDataSets does, one measurement per data set in
//! file order: labelled by the data set's name (its number from 0 when it has none; a repeated
//! name gets " 2", " 3" ...), with the settings' background and resolution choice, scale 1,
//! and the spin channel that its header's polarization (pp, pm, mp, mm) names; half-polarised
//! or unknown polarisations leave it without one and are noted. Each data set's notes go to
//! `notes` behind its name. Abort at any row leaves
//! `measurements` as it was. Throws FileError as LoadOrsoDataSets does.
LoadOutcome LoadOrsoMeasurements(const std::filesystem::path& path, const CalcSettings& settings,
                                 std::vector<Measurement>& measurements,
                                 LoadQuestions& questions, std::vector<std::string>& notes);

}  // namespace quorrel
