#include "files/orso_measurements.h"

#include <optional>
#include <utility>

#include "files/orso_file.h"

namespace quorrel {

namespace {

//! The channel of a data set's stated polarisation: ORSO's pp, pm, mp and mm (or a channel's
//! own name). Half-polarised data (po, mo, op, om: one spin selected, the other summed over)
//! belong to no one channel, and neither does a value the standard does not know: they are
//! fitted with the model's own curve, and the user is told.
SpinChannel ChannelOfPolarization(const std::string& polarization,
                                  std::vector<std::string>& notes) {
  if (polarization.empty() || polarization == "unpolarized") return SpinChannel::None;
  if (const std::optional<SpinChannel> channel = SpinChannelOfName(polarization)) {
    return *channel;
  }
  // "+" and "-" are the half-polarised values of ORSO's first drafts.
  if (polarization == "po" || polarization == "mo" || polarization == "op" ||
      polarization == "om" || polarization == "+" || polarization == "-") {
    notes.push_back("polarization \"" + polarization +
                    "\" analyses one spin only, so the data set has no spin channel");
  } else {
    notes.push_back("polarization \"" + polarization +
                    "\" is not one of pp, pm, mp, mm, so the data set has no spin channel");
  }
  return SpinChannel::None;
}

}  // namespace

LoadOutcome LoadOrsoMeasurements(const std::filesystem::path& path, const CalcSettings& settings,
                                 std::vector<Measurement>& measurements,
                                 LoadQuestions& questions, std::vector<std::string>& notes) {
  std::vector<OrsoDataSet> sets;
  if (LoadOrsoDataSets(path, sets, questions) == LoadOutcome::Aborted) return LoadOutcome::Aborted;
  std::vector<Measurement> loaded;
  for (OrsoDataSet& set : sets) {
    const SpinChannel channel = ChannelOfPolarization(set.polarization, set.notes);
    for (const std::string& note : set.notes) {
      notes.push_back("data set \"" + set.name + "\": " + note);
    }
    Measurement measurement = MeasurementOfData(std::move(set.data), settings);
    measurement.label = std::move(set.name);
    measurement.channel = channel;
    loaded.push_back(std::move(measurement));
  }
  LabelApart(loaded);
  measurements = std::move(loaded);
  return LoadOutcome::Loaded;
}

}  // namespace quorrel
