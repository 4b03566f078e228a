#pragma once
// Models and measured curves that the fit tests share.

#include <string>
#include <vector>

#include "fit/fit_data.h"
#include "model/sample_model.h"

namespace quorrel::testing {

//! One row of a grid: d, rho, Im(rho), sigma as typed.
struct Row {
  std::string d, rho, imRho, sigma;
};

//! A model of `type` with air, the given basic layers and the last row (bulk or core).
SampleModel MakeModel(SampleType type, const Row& air, const std::vector<Row>& layers,
                      const Row& last);

//! Air 0, two layers on silicon: d 60 / 120 Å, sigma 4 / 5 Å.
SampleModel TwoLayerModel();

//! The model's reflectivity at `qz`, multiplied by 1 + noise * (a normal deviate of a
//! generator seeded with `seed`), with errors of noise * R.
FitData SimulatedData(const SampleModel& model, const std::vector<double>& qz,
                      const std::vector<double>& resolution, double noise, unsigned seed);

//! n Qz values from `low` to `high`, both included.
std::vector<double> QzGrid(double low, double high, int n);

}  // namespace quorrel::testing
