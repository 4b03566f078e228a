#pragma once
// The cases of the community's validation suite in tests/data/orso: their media as a layer
// stack and their reference rows.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "physics/layer_stack.h"
#include "physics/spin_flip_stack.h"

namespace quorrel {

//! The numbers of every non-empty line of a whitespace-separated file.
inline std::vector<std::vector<double>> ReadReferenceColumns(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::vector<double>> rows;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::vector<double> row;
    for (double v; fields >> v;) row.push_back(v);
    if (!row.empty()) rows.push_back(row);
  }
  return rows;
}

//! The rows of case `name`: Q (Å⁻¹), R, and for smeared cases dR and the 1-sigma dQ.
inline std::vector<std::vector<double>> ReferenceRows(const std::string& name) {
  return ReadReferenceColumns(std::string(QUORREL_TEST_DATA) + "/orso/" + name + ".dat");
}

//! The media of case `name` (thickness, SLD and iSLD in 1e-6 Å⁻², roughness of the interface
//! above; fronting first), with the fronting medium's absorption ignored as the suite does.
inline LayerStack ReferenceStack(const std::string& name) {
  const auto media =
      ReadReferenceColumns(std::string(QUORREL_TEST_DATA) + "/orso/" + name + ".layers");
  const int n = static_cast<int>(media.size()) - 2;
  LayerStack stack(n < 0 ? 0 : n);
  for (int j = 0; j <= n + 1; ++j) {
    const auto& m = media[static_cast<std::size_t>(j)];
    stack.setRho(j, m[1] * 1e-6);
    if (j >= 1) stack.setImRho(j, m[2] * 1e-6);
    if (j >= 1) stack.setSigma(j, m[3]);
    if (j >= 1 && j <= n) stack.setThickness(j, m[0]);
  }
  return stack;
}

}  // namespace quorrel

namespace quorrel {

//! The media of polarised case `name` (thickness, sld, mu, thetaM, sldm, roughness; densities in
//! 1e-6 Å⁻²; fronting first) with the guide field's angle and strength.
inline SpinFlipStack PolarisedReferenceStack(const std::string& name, double aguide, double field) {
  SpinFlipStack stack;
  stack.aguide = aguide;
  stack.field = field;
  for (const auto& m : ReadReferenceColumns(std::string(QUORREL_TEST_DATA) + "/orso/polarised/" +
                                            name + ".layers")) {
    stack.media.push_back({m[0], m[1] * 1e-6, m[2] * 1e-6, m[4] * 1e-6, m[3], m[5]});
  }
  stack.media.front().imRho = 0;  // the suite ignores the fronting medium's absorption
  return stack;
}

//! The rows of polarised case `name`: Q, R--, R-+, R+-, R++.
inline std::vector<std::vector<double>> PolarisedReferenceRows(const std::string& name) {
  return ReadReferenceColumns(std::string(QUORREL_TEST_DATA) + "/orso/polarised/" + name + ".dat");
}

}  // namespace quorrel
