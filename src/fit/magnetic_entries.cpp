#include "fit/magnetic_entries.h"

#include <algorithm>
#include <stdexcept>

#include "calc/spin_flip_model.h"
#include "common/number_format.h"

namespace quorrel {

namespace {

using Grid = MagnetisationRow::Grid;

//! "2" for base row 3, "bulk" (or "core" in a symmetric film) below the layers, "ML1".
std::string RowSuffix(const SampleModel& model, MagnetisationRow row) {
  if (row.grid == Grid::Multilayer) return "ML" + std::to_string(row.row);
  if (row.row == model.edtLayers + 2) {
    return model.type == SampleType::SymmetricFilm ? "core" : "bulk";
  }
  return std::to_string(row.row - 1);
}

TextGrid& GridOf(SampleModel& model, MagnetisationRow row) {
  return row.grid == Grid::Multilayer ? model.mlGrid : model.baseGrid;
}

int EntryOf(const MagneticModel& magnetic, MagneticQuantity quantity, MagnetisationRow row) {
  for (std::size_t k = 0; k < magnetic.entries.size(); ++k) {
    if (magnetic.entries[k].quantity == quantity && magnetic.entries[k].row == row) {
      return static_cast<int>(k);
    }
  }
  return -1;
}

}  // namespace

bool HasSpinChannels(std::span<const Measurement> measurements) {
  return std::any_of(measurements.begin(), measurements.end(),
                     [](const Measurement& m) { return m.channel != SpinChannel::None; });
}

MagneticModel MagneticModelOf(const SampleModel& model, const SpinFlipSettings& guide) {
  const SpinFlipStack stack = SpinFlipStackOfModel(model, guide.aguide, guide.field);
  const std::vector<MagnetisationRow> rows = MagnetisationRows(model);
  std::vector<MagnetisationRow> listed;
  for (const MagnetisationRow& row : rows) {
    if (row.grid != Grid::None && row != rows.front()) listed.push_back(row);
  }
  std::sort(listed.begin(), listed.end(), [](const MagnetisationRow& a, const MagnetisationRow& b) {
    return a.grid != b.grid ? a.grid < b.grid : a.row < b.row;
  });
  listed.erase(std::unique(listed.begin(), listed.end()), listed.end());

  MagneticModel magnetic;
  magnetic.field = guide.field;
  magnetic.ambientAngle = stack.media.front().thetaM;
  for (const MagnetisationRow& row : listed) {
    const std::string suffix = RowSuffix(model, row);
    const auto first = static_cast<std::size_t>(std::find(rows.begin(), rows.end(), row) - rows.begin());
    magnetic.entries.push_back({MagneticQuantity::Density, row, "rhoM_" + suffix});
    magnetic.start.push_back(stack.media[first].magneticRho);
    magnetic.entries.push_back({MagneticQuantity::Angle, row, "thetaM_" + suffix});
    magnetic.start.push_back(stack.media[first].thetaM);
  }
  magnetic.entries.push_back({MagneticQuantity::GuideAngle, {}, "aguide"});
  magnetic.start.push_back(guide.aguide);
  for (const MagnetisationRow& row : rows) {
    const bool ambient = row == rows.front();
    magnetic.densityEntry.push_back(ambient ? -1 : EntryOf(magnetic, MagneticQuantity::Density, row));
    magnetic.angleEntry.push_back(ambient ? -1 : EntryOf(magnetic, MagneticQuantity::Angle, row));
  }
  return magnetic;
}

void AppendMagneticEntries(ParameterSet& set, const MagneticModel& magnetic) {
  std::vector<double> extras = set.extraEntries();
  extras.insert(extras.end(), magnetic.start.begin(), magnetic.start.end());
  set.setExtraEntries(std::move(extras));
}

int FirstMagneticIndex(const ParameterSet& set, const MagneticModel& magnetic) {
  return set.entryCount() - static_cast<int>(magnetic.entries.size()) + 1;
}

SpinFlipStack SpinFlipStackOfTrial(const LayerStack& nuclear, const ParameterSet& set,
                                   const MagneticModel& magnetic) {
  const int first = FirstMagneticIndex(set, magnetic);
  const auto value = [&set, first](int entry) { return set[first + entry]; };
  SpinFlipStack stack;
  stack.aguide = value(static_cast<int>(magnetic.entries.size()) - 1);
  stack.field = magnetic.field;
  const int media = nuclear.layerCount() + 2;
  if (static_cast<int>(magnetic.densityEntry.size()) != media) {
    throw std::logic_error("the stack is not the magnetic model's");
  }
  stack.media.reserve(static_cast<std::size_t>(media));
  for (int j = 0; j < media; ++j) {
    const int density = magnetic.densityEntry[static_cast<std::size_t>(j)];
    const int angle = magnetic.angleEntry[static_cast<std::size_t>(j)];
    // A medium of the profile function has no row and so no magnetisation.
    stack.media.push_back({nuclear.thickness(j), nuclear.rho(j), nuclear.imRho(j),
                           density < 0 ? 0.0 : value(density),
                           angle < 0 ? (j == 0 ? magnetic.ambientAngle : kDefaultThetaM) : value(angle),
                           nuclear.sigma(j)});
  }
  return stack;
}

const MagneticEntry* MagneticEntryAt(const ParameterSet& set, const MagneticModel& magnetic,
                                     int index) {
  const int first = FirstMagneticIndex(set, magnetic);
  if (index < first) return nullptr;
  return &magnetic.entries.at(static_cast<std::size_t>(index - first));
}

std::string MagneticEntryLabel(const ParameterSet& set, const MagneticModel& magnetic, int index) {
  const MagneticEntry* found = MagneticEntryAt(set, magnetic, index);
  if (found == nullptr) throw std::out_of_range("entry " + std::to_string(index) + " is not magnetic");
  const MagneticEntry& entry = *found;
  const char* pattern = entry.quantity == MagneticQuantity::Density ? "0.000E+00" : "##0.00";
  return entry.name + " = " + FormatPattern(set[index], pattern);
}

void WriteBackMagneticEntries(const ParameterSet& set, const MagneticModel& magnetic,
                              SampleModel& model, SpinFlipSettings& guide) {
  const int first = FirstMagneticIndex(set, magnetic);
  for (std::size_t k = 0; k < magnetic.entries.size(); ++k) {
    const double value = set[first + static_cast<int>(k)];
    if (value == magnetic.start[k]) continue;
    const MagneticEntry& entry = magnetic.entries[k];
    switch (entry.quantity) {
      case MagneticQuantity::Density:
        GridOf(model, entry.row).setCell(entry.row.row, kColMagRe, FormatPattern(value, "0.###E+0"));
        break;
      case MagneticQuantity::Angle:
        GridOf(model, entry.row).setCell(entry.row.row, kColThetaM, FormatPattern(value, "##0.##"));
        break;
      case MagneticQuantity::GuideAngle:
        guide.aguide = value;
        break;
    }
  }
}

}  // namespace quorrel
