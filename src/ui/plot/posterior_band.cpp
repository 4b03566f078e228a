#include "ui/plot/posterior_band.h"

namespace quorrel {

void ShowPosteriorBand(XyGraph& graph, const CurveBand& band) {
  graph.clearCurveBands();
  if (band.x.empty()) return;
  graph.setCurveBand(kBand95, band.x, band.lower95, band.upper95, QColor(230, 120, 30, 55));
  graph.setCurveBand(kBand68, band.x, band.lower68, band.upper68, QColor(230, 120, 30, 110));
}

}  // namespace quorrel
