#include "model/sample_type_choice.h"

namespace quorrel {

void ChooseSampleType(SampleModel& model, SampleType type) {
  // A radio button that is already checked sends no click, so the core's thickness survives.
  if (model.type == type) return;
  model.type = type;
  TextGrid& grid = model.baseGrid;
  const int last = grid.rowCount() - 1;
  if (type == SampleType::SymmetricFilm) {
    grid.setCell(last, kColLabel, "core");
    grid.setCell(last, kColThickness, "100");
  } else {
    grid.setCell(last, kColLabel, "bulk");
    grid.setCell(last, kColThickness, "N/A");
    grid.setCell(1, kColSigma, "N/A");
  }
}

}  // namespace quorrel
