#include "shell/posterior_bands.h"

#include <algorithm>
#include <random>

#include "calc/profile_run.h"
#include "fit/joint_objective.h"
#include "fit/profile_evaluator.h"
#include "fit/write_back.h"

namespace quorrel {

namespace {

//! The band of curves that share their x.
CurveBand BandOf(const std::vector<double>& x, const std::vector<std::vector<double>>& curves) {
  CurveBand band;
  if (curves.empty()) return band;
  band.x = x;
  std::vector<double> column(curves.size());
  for (std::size_t i = 0; i < x.size(); ++i) {
    for (std::size_t k = 0; k < curves.size(); ++k) column[k] = curves[k][i];
    std::sort(column.begin(), column.end());
    band.lower95.push_back(Percentile(column, 0.025));
    band.lower68.push_back(Percentile(column, 0.1587));
    band.upper68.push_back(Percentile(column, 0.8413));
    band.upper95.push_back(Percentile(column, 0.975));
  }
  return band;
}

}  // namespace

PosteriorBands BandsOfPosterior(const SampledPosterior& posterior, const CalcSettings& settings,
                                int draws, std::uint64_t seed) {
  const SampleChain& chain = posterior.result.chain;
  PosteriorBands bands;
  if (chain.sampleCount() == 0 || draws < 1) return bands;
  const FitProblem& problem = posterior.problem;
  const ChiSquareOptions options{Weighting::GivenErrors, problem.settings.includeResolution,
                                 problem.settings.includeBackground, KernelKind::Fast,
                                 SmearingKernel::Standard, fast::Threading::SharedPool};
  ProfileEvaluator profile = problem.profile;
  if (!profile && problem.model.type == SampleType::ProfileFunction) {
    profile = MakeProfileEvaluator(problem.model);
  }
  JointObjective objective(problem.set, problem.stack, problem.data, options, problem.links,
                           std::move(profile), problem.magnetic);
  // Every draw's profile over the same depths: those of the start.
  CalcSettings depths = settings;
  const ZRange range = ProfileDepthRange(problem.model, settings);
  depths.cbUserZ = true;
  depths.edtMinZ = range.zmin;
  depths.edtMaxZ = range.zmax;

  std::mt19937_64 random(seed);
  std::uniform_int_distribution<int> pick(0, chain.sampleCount() - 1);
  std::vector<std::vector<double>> reflectivities, profiles;
  std::vector<double> qz, z;
  for (int d = 0; d < draws; ++d) {
    const int sample = pick(random);
    const ParameterSet set = posterior.setOf(sample / chain.walkers, sample % chain.walkers);
    objective.apply(set);
    if (const std::optional<ReflCurve> curve = objective.calculate()) {
      qz = curve->x;
      reflectivities.push_back(curve->y);
    }
    SampleModel model = problem.model;
    WriteBackFit(set, model);
    try {
      const ProfileCurve curve = RunProfileCalculation(model, depths);
      if (z.empty()) z = curve.x;
      if (curve.x.size() == z.size()) profiles.push_back(curve.y);
    } catch (const QuorrelError&) {
      // A draw whose model cannot be built stays out of the band.
    }
  }
  bands.reflectivity = BandOf(qz, reflectivities);
  bands.profile = BandOf(z, profiles);
  return bands;
}

}  // namespace quorrel
