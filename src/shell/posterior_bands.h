#pragma once
// The spread of the curves of a sampled posterior: from random draws of its chain, the 68 %
// and 95 % bands of the fitted reflectivity and of the density profile.

#include <cstdint>
#include <vector>

#include "model/calc_settings.h"
#include "shell/sampling_session.h"

namespace quorrel {

//! At every x, the 2.5 %, 15.87 %, 84.13 % and 97.5 % percentiles of the drawn curves.
struct CurveBand {
  std::vector<double> x;
  std::vector<double> lower95, lower68, upper68, upper95;
};

struct PosteriorBands {
  //! The first measurement's fitted curve (scale and background included) at its region's
  //! points; empty when no draw could be calculated.
  CurveBand reflectivity;
  //! The model's rho(z) over the depth range of the values the sampling started from.
  CurveBand profile;
};

inline constexpr int kBandDraws = 500;

//! The bands of `draws` stored samples drawn at random (seeded by `seed`) from the chain.
//! `settings` give the profile's depth range and points. Draws whose curve cannot be
//! calculated are left out.
PosteriorBands BandsOfPosterior(const SampledPosterior& posterior, const CalcSettings& settings,
                                int draws = kBandDraws, std::uint64_t seed = 1);

}  // namespace quorrel
