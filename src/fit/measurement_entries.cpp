#include "fit/measurement_entries.h"

#include <cctype>
#include <stdexcept>

#include "common/number_format.h"

namespace quorrel {

namespace {

std::vector<MeasurementQuantity> BackgroundQuantities(BackgroundKind kind) {
  using enum MeasurementQuantity;
  switch (kind) {
    case BackgroundKind::Constant:
      return {BackgroundY0};
    case BackgroundKind::Linear:
      return {BackgroundY0, BackgroundM};
    case BackgroundKind::Gaussian:
    case BackgroundKind::Lorentzian:
      break;
  }
  return {BackgroundY0, BackgroundM, PeakA, PeakW, PeakXC};
}

template <typename M>
auto& ValueOf(const MeasurementEntry& entry, std::span<M> measurements) {
  auto& measurement = measurements[entry.measurement];
  switch (entry.quantity) {
    case MeasurementQuantity::Scale:
      return measurement.scale;
    case MeasurementQuantity::BackgroundY0:
      return measurement.background.y0;
    case MeasurementQuantity::BackgroundM:
      return measurement.background.m;
    case MeasurementQuantity::PeakA:
      return measurement.background.peakA;
    case MeasurementQuantity::PeakW:
      return measurement.background.peakW;
    case MeasurementQuantity::PeakXC:
      return measurement.background.peakXC;
    case MeasurementQuantity::Override:
      break;
  }
  return measurement.overrides.at(entry.override).value;
}

const char* QuantityName(MeasurementQuantity quantity) {
  switch (quantity) {
    case MeasurementQuantity::Scale:
      return "scale";
    case MeasurementQuantity::BackgroundY0:
      return "background y0";
    case MeasurementQuantity::BackgroundM:
      return "background m";
    case MeasurementQuantity::PeakA:
      return "background A";
    case MeasurementQuantity::PeakW:
      return "background w";
    case MeasurementQuantity::PeakXC:
      return "background xc";
    case MeasurementQuantity::Override:
      break;
  }
  return "";
}

std::string IdentifierOf(const std::string& name) {
  std::string identifier;
  for (const char c : name) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') identifier += c;
    if (c == ' ') identifier += '_';
  }
  return identifier;
}

//! The number pattern of an entry's value in the list: a scale to four decimals, densities
//! and backgrounds as the model's densities, lengths as the model's lengths.
const char* ValuePattern(const MeasurementEntry& entry, std::span<const Measurement> measurements,
                         const ParameterSet& model) {
  if (entry.quantity == MeasurementQuantity::Scale) return "0.0000";
  if (entry.quantity == MeasurementQuantity::Override) {
    const int overridden = measurements[entry.measurement].overrides.at(entry.override).entry;
    const ParameterRole role = model.layout().role(overridden);
    if (role.medium != ParameterMedium::FunctionParameter &&
        (role.quantity == Quantity::Thickness || role.quantity == Quantity::Sigma)) {
      return "###0.00";
    }
  }
  return "0.000E+00";
}

}  // namespace

std::vector<MeasurementEntry> MeasurementEntries(std::span<const Measurement> measurements) {
  std::vector<MeasurementEntry> entries;
  for (std::size_t m = 0; m < measurements.size(); ++m) {
    entries.push_back({m, MeasurementQuantity::Scale});
    if (measurements[m].background.on) {
      for (const MeasurementQuantity quantity :
           BackgroundQuantities(measurements[m].background.kind)) {
        entries.push_back({m, quantity});
      }
    }
    for (std::size_t o = 0; o < measurements[m].overrides.size(); ++o) {
      entries.push_back({m, MeasurementQuantity::Override, o});
    }
  }
  return entries;
}

double EntryValue(const MeasurementEntry& entry, std::span<const Measurement> measurements) {
  return ValueOf(entry, measurements);
}

void SetEntryValue(const MeasurementEntry& entry, std::span<Measurement> measurements,
                   double value) {
  ValueOf(entry, measurements) = value;
}

std::string EntryName(const MeasurementEntry& entry, std::span<const Measurement> measurements,
                      const ParameterSet& model) {
  const Measurement& measurement = measurements[entry.measurement];
  std::string name = QuantityName(entry.quantity);
  if (entry.quantity == MeasurementQuantity::Override) {
    const int overridden = measurement.overrides.at(entry.override).entry;
    if (overridden < 1 || overridden > model.layout().listedCount()) {
      throw std::out_of_range("the model has no entry " + std::to_string(overridden) +
                              " for " + measurement.label + " to replace");
    }
    name = ParameterName(model, overridden);
  }
  return name + " [" + measurement.label + "]";
}

void AppendMeasurementEntries(ParameterSet& set, std::span<const Measurement> measurements) {
  std::vector<double> values;
  for (const MeasurementEntry& entry : MeasurementEntries(measurements)) {
    values.push_back(EntryValue(entry, measurements));
  }
  set.setExtraEntries(std::move(values));
}

void WriteBackMeasurementEntries(const ParameterSet& set, std::span<Measurement> measurements) {
  const std::vector<MeasurementEntry> entries = MeasurementEntries(measurements);
  for (std::size_t k = 0; k < entries.size(); ++k) {
    SetEntryValue(entries[k], measurements, set[set.count() + 1 + static_cast<int>(k)]);
  }
}

std::vector<FitParameter> FillFitEntries(const ParameterSet& set,
                                         std::span<const Measurement> measurements,
                                         const VaryFlags& flags, const MagneticModel& magnetic) {
  std::vector<FitParameter> list = FillParameterList(set, flags);
  const std::vector<MeasurementEntry> entries = MeasurementEntries(measurements);
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const int index = set.count() + 1 + static_cast<int>(k);
    list.push_back({index, EntryName(entries[k], measurements, set) + " = " +
                               FormatPattern(set[index], ValuePattern(entries[k], measurements, set)),
                    index <= flags.count() && flags[index]});
  }
  for (int index = FirstMagneticIndex(set, magnetic); index <= set.entryCount(); ++index) {
    list.push_back({index, MagneticEntryLabel(set, magnetic, index),
                    index <= flags.count() && flags[index]});
  }
  return list;
}

std::string FitEntryName(const ParameterSet& set, std::span<const Measurement> measurements,
                         int index, const MagneticModel& magnetic) {
  if (index <= set.count()) return ParameterName(set, index);
  if (const MagneticEntry* entry = MagneticEntryAt(set, magnetic, index)) return entry->name;
  const std::vector<MeasurementEntry> entries = MeasurementEntries(measurements);
  return EntryName(entries.at(static_cast<std::size_t>(index - set.count() - 1)), measurements,
                   set);
}

std::string EntryVariableName(const ParameterSet& set, std::span<const Measurement> measurements,
                              int index, const MagneticModel& magnetic) {
  if (index <= set.count()) return IdentifierOf(ParameterName(set, index));
  if (const MagneticEntry* entry = MagneticEntryAt(set, magnetic, index)) return entry->name;
  const std::vector<MeasurementEntry> entries = MeasurementEntries(measurements);
  const MeasurementEntry& entry = entries.at(static_cast<std::size_t>(index - set.count() - 1));
  std::string name = QuantityName(entry.quantity);
  if (entry.quantity == MeasurementQuantity::Override) {
    name = ParameterName(set, measurements[entry.measurement].overrides.at(entry.override).entry);
  }
  return IdentifierOf(name) + "_" + std::to_string(entry.measurement + 1);
}

}  // namespace quorrel
