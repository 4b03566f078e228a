#include "bench_models.h"

#include <string>

namespace quorrel {

SampleModel MagneticLayers(int n) {
  SampleModel model;
  model.edtLayers = n;
  model.baseGrid.setRowCount(n + 3);
  const auto row = [&](int r, const char* label, const char* d, const char* rho,
                       const char* imRho, const char* sigma, const char* mag) {
    const char* cells[kGridColumns] = {label, d, rho, imRho, sigma, mag, "0"};
    for (int c = 0; c < kGridColumns; ++c) model.baseGrid.setCell(r, c, cells[c]);
  };
  row(1, "air", "N/A", "0", "0", "N/A", "0");
  for (int j = 1; j <= n; ++j) {
    const std::string label = std::to_string(j);
    if (j % 2) {
      row(j + 1, label.c_str(), "30", "6.2e-6", "1e-9", "3", "1.5e-6");
    } else {
      row(j + 1, label.c_str(), "45", "1.1e-6", "3e-8", "3", "0");
    }
  }
  row(n + 2, "bulk", "N/A", "2.073e-6", "2.37e-11", "4", "0");
  return model;
}

CalcSettings FullRun() {
  CalcSettings settings;
  settings.edtminQ = 0.001;
  settings.edtMaxQ = 0.3;
  settings.edtNumPoints = 999;
  settings.cbMagnet = true;
  settings.cbTransmission = true;
  settings.edtSampleThickness = 1;
  settings.cbVSelector = true;
  settings.edtConstantRes = 0.0005;
  settings.edtDistribution = 5;
  return settings;
}

}  // namespace quorrel
