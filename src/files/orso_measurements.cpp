#include "files/orso_measurements.h"

#include <utility>

#include "files/orso_file.h"

namespace quorrel {

LoadOutcome LoadOrsoMeasurements(const std::filesystem::path& path, const CalcSettings& settings,
                                 std::vector<Measurement>& measurements,
                                 LoadQuestions& questions, std::vector<std::string>& notes) {
  std::vector<OrsoDataSet> sets;
  if (LoadOrsoDataSets(path, sets, questions) == LoadOutcome::Aborted) return LoadOutcome::Aborted;
  std::vector<Measurement> loaded;
  for (OrsoDataSet& set : sets) {
    for (const std::string& note : set.notes) {
      notes.push_back("data set \"" + set.name + "\": " + note);
    }
    Measurement measurement = MeasurementOfData(std::move(set.data), settings);
    measurement.label = std::move(set.name);
    loaded.push_back(std::move(measurement));
  }
  LabelApart(loaded);
  measurements = std::move(loaded);
  return LoadOutcome::Loaded;
}

}  // namespace quorrel
