#pragma once
// The 68 % and 95 % bands of a sampled posterior's curves in a plot window's graph.

#include "graph/xy_graph.h"
#include "shell/posterior_bands.h"

namespace quorrel {

//! The bands' numbers in a graph.
inline constexpr int kBand95 = 1;
inline constexpr int kBand68 = 2;

//! Draws the 95 % band lightly and the 68 % band over it; an empty band removes both.
void ShowPosteriorBand(XyGraph& graph, const CurveBand& band);

}  // namespace quorrel
