#include "files/model_file_reader.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "common/error.h"
#include "files/text_file.h"
#include "common/number_conversion.h"
#include "files/model_file_format.h"
#include "files/model_file_lines.h"
#include "model/editor_fields.h"
#include "model/magnetisation_angles.h"
#include "model/profile_function.h"
#include "model/sample_type_choice.h"
#include "model/settings_rules.h"
#include "parser/builtin_profiles.h"

namespace quorrel {

const char* const kOlderModelFileMessage =
    "Oops, something is wrong with that file...\n"
    "Probably this file was created with an older version of Quorrel.\n"
    "I could only find the sample parameters but no background or resolution data.\n"
    "Make sure to type in the background and resolution data in the'settings dialogue'.";

namespace {

//! A line that does not fit where it stands; ends the reading.
struct StopReading {};

//! The patterns with which a foreign file's cells are re-formatted, by column; null keeps the
//! cell verbatim.
using ColumnPatterns = std::array<const char*, kGridColumns>;
constexpr ColumnPatterns kBaseGridPatterns{nullptr,    "##0.##", "0.###E+0", "0.###E+00",
                                           "0.0#",     "0.###E+0", "0.###E+00"};
constexpr ColumnPatterns kMLGridPatterns{nullptr, "0.##", "0.###E+0", "0.###E+00",
                                         "0.##", "0.###E+0", "0.###E+00"};

class ModelFileReader {
 public:
  ModelFileReader(std::string_view text, SampleModel& model, CalcSettings& settings,
                  EditorState& editor)
      : lines_(SplitLines(text)),
        rule_(HasForeignSeparator(lines_)),
        model_(model),
        settings_(settings),
        editor_(editor) {}

  ModelFileOutcome read() {
    // The file holds the collinear part only: its layers are magnetised at the default angle.
    ResetMagnetisationAngles(model_);
    try {
      readSample();
      outcome_.sampleComplete = true;
      readBackground();
      readResolution();
    } catch (const StopReading&) {
      outcome_.message = kOlderModelFileMessage;
      outcome_.stopLine = static_cast<int>(next_);
    }
    if (outcome_.userFunctionRead) outcome_.compileError = CompileUserFunction(model_);
    return outcome_;
  }

 private:
  std::string_view line() {
    if (next_ >= lines_.size()) {
      next_ = lines_.size() + 1;  // the missing line's number
      throw StopReading{};
    }
    return lines_[next_++];
  }
  int integer() {
    const std::optional<int> value = ReadInteger(line());
    if (!value) throw StopReading{};
    return *value;
  }
  double real() {
    const std::optional<double> value = NumberRule::real(line());
    if (!value) throw StopReading{};
    return *value;
  }
  double number() {
    const std::optional<double> value = rule_.number(line());
    if (!value) throw StopReading{};
    return *value;
  }
  std::string cell(const char* pattern) {
    std::optional<std::string> text = rule_.cell(line(), pattern);
    if (!text) throw StopReading{};
    return std::move(*text);
  }
  //! Seven cells of `row` into `grid`, re-formatted by `patterns` for a foreign file.
  void row(TextGrid& grid, int row, ColumnPatterns patterns) {
    for (int column = 0; column < kGridColumns; ++column) {
      grid.setCell(row, column, cell(patterns[static_cast<std::size_t>(column)]));
    }
  }

  void readSample();
  void readGridSize();
  void readFunctionBlock();
  void readMultilayerBlock();
  void readBackground();
  void readResolution();

  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
  NumberRule rule_;
  SampleModel& model_;
  CalcSettings& settings_;
  EditorState& editor_;
  ModelFileOutcome outcome_;
};

void ModelFileReader::readSample() {
  const int type = integer();
  if (type < 1 || type > 4) throw StopReading{};
  // The core's label must be in place before the grid is read.
  if (type == static_cast<int>(SampleType::SymmetricFilm)) {
    ChooseSampleType(model_, SampleType::SymmetricFilm);
  }
  readGridSize();
  constexpr ColumnPatterns kVerbatim{};
  row(model_.baseGrid, 0, kVerbatim);
  const int last = model_.lastRow();
  for (int r = 1; r <= last; ++r) {
    ColumnPatterns patterns = kBaseGridPatterns;
    if (r == 1 || r == last) patterns[kColThickness] = nullptr;
    if (r == 1) patterns[kColSigma] = nullptr;
    row(model_.baseGrid, r, patterns);
  }
  switch (static_cast<SampleType>(type)) {
    case SampleType::IndependentLayers:
      ChooseSampleType(model_, SampleType::IndependentLayers);
      break;
    case SampleType::ProfileFunction:
      readFunctionBlock();
      break;
    case SampleType::MultipleLayers:
      readMultilayerBlock();
      break;
    case SampleType::SymmetricFilm:
      break;
  }
}

void ModelFileReader::readGridSize() {
  const std::string_view text = line();
  const std::size_t blank = text.find_first_of(" \t", text.find_first_not_of(" \t"));
  if (blank == std::string_view::npos) throw StopReading{};
  const std::optional<int> columns = ReadInteger(text.substr(0, blank));
  const std::optional<int> rows = ReadInteger(text.substr(blank));
  if (!columns || !rows) throw StopReading{};
  // BaseGrid keeps its seven columns: another count would make the grid write rows that no
  // reader can take back, since every row is read as seven cells.
  const long long layers = static_cast<long long>(*rows) - 3;
  SetLayerCount(model_, static_cast<int>(std::clamp<long long>(layers, 0, kMaxEditorLayers)));
}

void ModelFileReader::readFunctionBlock() {
  ChooseSampleType(model_, SampleType::ProfileFunction);
  FunctionSettings& function = model_.function;
  const int kind = integer();
  if (kind == static_cast<int>(FunctionKind::BuiltIn)) {
    function.kind = FunctionKind::BuiltIn;
    const int index = integer();
    const auto catalogue = BuiltInProfiles();
    if (index < 0 || index >= static_cast<int>(catalogue.size())) throw StopReading{};
    function.builtInIndex = index;
    SetNumParameters(model_, catalogue[static_cast<std::size_t>(index)].parameterCount);
  } else if (kind == static_cast<int>(FunctionKind::UserDefined)) {
    function.kind = FunctionKind::UserDefined;
    function.expression = std::string(line());
    outcome_.userFunctionRead = true;
    function.comment = std::string(line());
  } else {
    throw StopReading{};
  }
  SetNumParameters(model_, integer());
  for (int i = 0; i < kMaxFunctionParameters; ++i) {
    function.parameterNames[static_cast<std::size_t>(i)] = std::string(line());
    SetFunctionParameter(model_, i, real());
  }
  editor_.testFunctionEnabled = true;
  const int stepThickness = integer();
  if (stepThickness < 0) throw StopReading{};  // an unsigned field
  model_.edtLayerThickness = static_cast<unsigned>(stepThickness);
  SetNumCalcLayers(model_, integer());
  SetFunctionLayer(model_, integer());
}

void ModelFileReader::readMultilayerBlock() {
  ChooseSampleType(model_, SampleType::MultipleLayers);
  const int stacked = integer();
  SetStackedLayerCount(model_, stacked);
  row(model_.mlGrid, 0, ColumnPatterns{});
  // The file's own count says how many rows follow, even where the field limits it.
  for (int r = 1; r <= stacked; ++r) row(model_.mlGrid, r, kMLGridPatterns);
  SetRepetitions(model_, integer());
  SetInsertLayer(model_, integer());
}

void ModelFileReader::readBackground() {
  const int code = integer();
  if (code < 0 || code > static_cast<int>(BackgroundCode::Lorentzian)) throw StopReading{};
  if (code == static_cast<int>(BackgroundCode::None)) {
    settings_.cbBackground = false;
    return;
  }
  settings_.cbBackground = true;
  double* const fields[] = {&settings_.edtY0, &settings_.edtM, &settings_.edtPeakA,
                            &settings_.edtPeakW, &settings_.edtPeakXC};
  for (int i = 0; i < BackgroundValueCount(static_cast<BackgroundCode>(code)); ++i) {
    *fields[i] = real();
  }
  constexpr BackgroundKind kKinds[] = {BackgroundKind::Constant, BackgroundKind::Linear,
                                       BackgroundKind::Gaussian, BackgroundKind::Lorentzian};
  settings_.background = kKinds[code - 1];
}

void ModelFileReader::readResolution() {
  const int regions = integer();
  if (regions < 0) throw StopReading{};
  if (regions == 0) {
    settings_.cbVSelector = true;
    settings_.edtConstantRes = number();
    settings_.edtDistribution = number();
    return;
  }
  SetRegionCount(settings_, regions);
  settings_.cbVSelector = false;
  for (int r = 1; r <= regions; ++r) {
    settings_.resltnGrid.setCell(r, 0, cell("0.#####"));
    settings_.resltnGrid.setCell(r, 1, cell("0.##E+0"));
  }
}

}  // namespace

ModelFileOutcome ReadModelText(std::string_view text, SampleModel& model, CalcSettings& settings,
                               EditorState& editor) {
  return ModelFileReader(text, model, settings, editor).read();
}

ModelFileOutcome ReadModelFile(const std::filesystem::path& path, SampleModel& model,
                               CalcSettings& settings, EditorState& editor) {
  return ReadModelText(ReadTextFile(path, "model file"), model, settings, editor);
}

std::string ModelCaption(const std::filesystem::path& path) {
  return "Model - " + path.filename().string();
}

}  // namespace quorrel
