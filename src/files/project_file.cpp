#include "files/project_file.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include <yaml-cpp/yaml.h>

#include "common/error.h"
#include "files/atomic_file.h"
#include "files/model_file_reader.h"
#include "files/model_file_writer.h"
#include "files/text_file.h"

namespace quorrel {

namespace {

//! The shortest text that reads back as the same double, whatever the locale.
std::string Number(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return {buffer, result.ptr};
}

template <typename Enum>
struct Names {
  std::vector<std::pair<Enum, const char*>> pairs;

  const char* of(Enum value) const {
    for (const auto& [e, name] : pairs) {
      if (e == value) return name;
    }
    return pairs.front().second;
  }
  std::optional<Enum> find(const std::string& name) const {
    for (const auto& [e, text] : pairs) {
      if (name == text) return e;
    }
    return std::nullopt;
  }
};

const Names<FitMethod> kMethods{{{FitMethod::RandomSearch, "random search"},
                                 {FitMethod::LevenbergMarquardt, "Levenberg-Marquardt"},
                                 {FitMethod::DifferentialEvolution, "differential evolution"}}};
const Names<Weighting> kWeightings{{{Weighting::GivenErrors, "errors"},
                                    {Weighting::Statistical, "stat"},
                                    {Weighting::None, "none"},
                                    {Weighting::Logarithmic, "log"}}};
const Names<BackgroundKind> kBackgrounds{{{BackgroundKind::Constant, "constant"},
                                          {BackgroundKind::Linear, "linear"},
                                          {BackgroundKind::Gaussian, "gaussian"},
                                          {BackgroundKind::Lorentzian, "lorentzian"}}};
const Names<ResolutionSource> kResolutions{
    {{ResolutionSource::Settings, "settings"}, {ResolutionSource::Data, "data"}}};
const Names<SmearingKernel> kKernels{
    {{SmearingKernel::Standard, "standard"}, {SmearingKernel::Accurate, "accurate"}}};
const Names<Radiation> kRadiations{
    {{Radiation::Neutrons, "neutrons"}, {Radiation::Xrays, "x-rays"}}};

std::string PointsText(const MeasuredData& data) {
  std::string text;
  for (int i = 0; i < data.count(); ++i) {
    const auto at = static_cast<std::size_t>(i);
    text += Number(data.qz[at]) + ' ' + Number(data.r[at]) + ' ' + Number(data.dr[at]);
    if (data.hasResolution()) text += ' ' + Number(data.sqz[at]);
    text += '\n';
  }
  return text;
}

void EmitSettings(YAML::Emitter& out, const CalcSettings& s) {
  out << YAML::Key << "settings" << YAML::Value << YAML::BeginMap;
  out << YAML::Key << "user_q_range" << YAML::Value << s.cbUserRange;
  out << YAML::Key << "q_min" << YAML::Value << Number(s.edtminQ);
  out << YAML::Key << "q_max" << YAML::Value << Number(s.edtMaxQ);
  out << YAML::Key << "q_points" << YAML::Value << s.edtNumPoints;
  out << YAML::Key << "magnetic" << YAML::Value << s.cbMagnet;
  out << YAML::Key << "transmission" << YAML::Value << s.cbTransmission;
  out << YAML::Key << "wavelength" << YAML::Value << Number(s.edtWavelength);
  out << YAML::Key << "sample_thickness" << YAML::Value << Number(s.edtSampleThickness);
  out << YAML::Key << "user_z_range" << YAML::Value << s.cbUserZ;
  out << YAML::Key << "z_min" << YAML::Value << s.edtMinZ;
  out << YAML::Key << "z_max" << YAML::Value << s.edtMaxZ;
  out << YAML::Key << "z_points" << YAML::Value << s.edtNumPointsZ;
  out << YAML::Key << "resolution_from_data" << YAML::Value << s.resolutionFromData;
  out << YAML::Key << "smearing" << YAML::Value << kKernels.of(s.smearing);
  out << YAML::Key << "radiation" << YAML::Value << kRadiations.of(s.radiation);
  out << YAML::Key << "spin_flip" << YAML::Value << YAML::Flow << YAML::BeginMap;
  out << YAML::Key << "on" << YAML::Value << s.spinFlip.enabled;
  out << YAML::Key << "aguide" << YAML::Value << Number(s.spinFlip.aguide);
  out << YAML::Key << "field" << YAML::Value << Number(s.spinFlip.field);
  out << YAML::EndMap;
  out << YAML::EndMap;
}

//! The magnetisation angles, which the model file does not keep: every row's theta(mag) cell
//! of both grids, hidden rows included.
void EmitAngles(YAML::Emitter& out, const SampleModel& model) {
  out << YAML::Key << "theta_mag" << YAML::Value << YAML::BeginMap;
  for (const auto& [name, grid] : {std::pair{"base", &model.baseGrid}, {"ml", &model.mlGrid}}) {
    out << YAML::Key << name << YAML::Value << YAML::Flow << YAML::BeginSeq;
    for (int row = 1; row < grid->rowCount(); ++row) out << grid->cell(row, kColThetaM);
    out << YAML::EndSeq;
  }
  out << YAML::EndMap;
}

void EmitMeasurement(YAML::Emitter& out, const Measurement& m,
                     const std::filesystem::path& folder, DataFileHashes hashes) {
  out << YAML::BeginMap;
  out << YAML::Key << "label" << YAML::Value << m.label;
  if (!m.data.fileName.empty()) {
    const std::filesystem::path file(m.data.fileName);
    out << YAML::Key << "file" << YAML::Value
        << std::filesystem::path(file).lexically_proximate(folder).generic_string();
    if (hashes == DataFileHashes::Written) {
      out << YAML::Key << "file_hash" << YAML::Value << FileHash(file);
    }
  }
  out << YAML::Key << "scale" << YAML::Value << Number(m.scale);
  const MeasurementBackground& b = m.background;
  out << YAML::Key << "background" << YAML::Value << YAML::Flow << YAML::BeginMap;
  out << YAML::Key << "on" << YAML::Value << b.on;
  out << YAML::Key << "kind" << YAML::Value << kBackgrounds.of(b.kind);
  out << YAML::Key << "y0" << YAML::Value << Number(b.y0);
  out << YAML::Key << "m" << YAML::Value << Number(b.m);
  out << YAML::Key << "A" << YAML::Value << Number(b.peakA);
  out << YAML::Key << "w" << YAML::Value << Number(b.peakW);
  out << YAML::Key << "xc" << YAML::Value << Number(b.peakXC);
  out << YAML::EndMap;
  out << YAML::Key << "resolution" << YAML::Value << kResolutions.of(m.resolution);
  // Only a polarised measurement says so, so that other projects stay as they were written.
  if (m.channel != SpinChannel::None) {
    out << YAML::Key << "channel" << YAML::Value << YAML::DoubleQuoted
        << SpinChannelName(m.channel);
  }
  out << YAML::Key << "region" << YAML::Value << YAML::Flow << YAML::BeginSeq
      << Number(m.data.fitRegionLow) << Number(m.data.fitRegionHigh) << YAML::EndSeq;
  out << YAML::Key << "overrides" << YAML::Value << YAML::BeginSeq;
  for (const ContrastOverride& o : m.overrides) {
    out << YAML::Flow << YAML::BeginMap << YAML::Key << "entry" << YAML::Value << o.entry
        << YAML::Key << "value" << YAML::Value << Number(o.value) << YAML::EndMap;
  }
  out << YAML::EndSeq;
  out << YAML::Key << "points" << YAML::Value << YAML::Literal << PointsText(m.data);
  out << YAML::EndMap;
}

void EmitFit(YAML::Emitter& out, const ProjectFitSetup& fit) {
  out << YAML::Key << "fit" << YAML::Value << YAML::BeginMap;
  out << YAML::Key << "method" << YAML::Value << kMethods.of(fit.method);
  out << YAML::Key << "weighting" << YAML::Value << kWeightings.of(fit.weighting);
  out << YAML::Key << "resolution" << YAML::Value << fit.includeResolution;
  out << YAML::Key << "background" << YAML::Value << fit.includeBackground;
  out << YAML::Key << "tolerance" << YAML::Value << Number(fit.tolerance);
  out << YAML::Key << "entries" << YAML::Value << YAML::BeginSeq;
  for (const EntrySetup& e : fit.entries) {
    out << YAML::Flow << YAML::BeginMap;
    out << YAML::Key << "entry" << YAML::Value << e.index;
    out << YAML::Key << "vary" << YAML::Value << e.vary;
    if (std::isfinite(e.bounds.lower)) {
      out << YAML::Key << "lower" << YAML::Value << Number(e.bounds.lower);
    }
    if (std::isfinite(e.bounds.upper)) {
      out << YAML::Key << "upper" << YAML::Value << Number(e.bounds.upper);
    }
    if (!e.link.empty()) out << YAML::Key << "link" << YAML::Value << e.link;
    if (!e.name.empty()) out << YAML::Key << "name" << YAML::Value << e.name;
    out << YAML::EndMap;
  }
  out << YAML::EndSeq << YAML::EndMap;
}

void EmitSampling(YAML::Emitter& out, const SamplingRecord& sampling) {
  out << YAML::Key << "sampling" << YAML::Value << YAML::BeginMap;
  out << YAML::Key << "date" << YAML::Value << sampling.date;
  out << YAML::Key << "walkers" << YAML::Value << sampling.walkers;
  out << YAML::Key << "burn_in" << YAML::Value << sampling.burnInSteps;
  out << YAML::Key << "steps" << YAML::Value << sampling.steps;
  out << YAML::Key << "thinning" << YAML::Value << sampling.thinning;
  out << YAML::Key << "seed" << YAML::Value << std::to_string(sampling.seed);
  out << YAML::Key << "acceptance" << YAML::Value << Number(sampling.acceptance);
  out << YAML::Key << "values" << YAML::Value << YAML::BeginSeq;
  for (const SampledValue& v : sampling.values) {
    out << YAML::Flow << YAML::BeginMap;
    out << YAML::Key << "entry" << YAML::Value << v.index;
    out << YAML::Key << "name" << YAML::Value << v.name;
    out << YAML::Key << "median" << YAML::Value << Number(v.median);
    out << YAML::Key << "minus" << YAML::Value << Number(v.minus);
    out << YAML::Key << "plus" << YAML::Value << Number(v.plus);
    out << YAML::Key << "lower_95" << YAML::Value << Number(v.lower95);
    out << YAML::Key << "upper_95" << YAML::Value << Number(v.upper95);
    out << YAML::EndMap;
  }
  out << YAML::EndSeq << YAML::EndMap;
}

void EmitLastFit(YAML::Emitter& out, const FitRecord& fit) {
  out << YAML::Key << "last_fit" << YAML::Value << YAML::BeginMap;
  out << YAML::Key << "date" << YAML::Value << fit.date;
  out << YAML::Key << "method" << YAML::Value << kMethods.of(fit.method);
  out << YAML::Key << "weighting" << YAML::Value << kWeightings.of(fit.weighting);
  out << YAML::Key << "chi_square" << YAML::Value << Number(fit.chiSquare);
  out << YAML::Key << "values" << YAML::Value << YAML::BeginSeq;
  for (const FittedValue& v : fit.values) {
    out << YAML::Flow << YAML::BeginMap;
    out << YAML::Key << "entry" << YAML::Value << v.index;
    out << YAML::Key << "name" << YAML::Value << v.name;
    out << YAML::Key << "value" << YAML::Value << Number(v.value);
    if (v.error) out << YAML::Key << "error" << YAML::Value << Number(*v.error);
    out << YAML::EndMap;
  }
  out << YAML::EndSeq;
  out << YAML::Key << "measurements" << YAML::Value << YAML::Flow << YAML::BeginSeq;
  for (const std::optional<double>& chi : fit.measurementChiSquares) {
    if (chi) {
      out << Number(*chi);
    } else {
      out << YAML::Null;
    }
  }
  out << YAML::EndSeq << YAML::EndMap;
}

//! Reads a project's YAML, naming the file and the line in every failure.
class ProjectReader {
 public:
  explicit ProjectReader(std::filesystem::path path) : path_(std::move(path)) {}

  ProjectRead read(const std::string& text) {
    YAML::Node root;
    try {
      root = YAML::Load(text);
    } catch (const YAML::Exception& error) {
      fail(error.mark.line, "not a project file (" + error.msg + ")");
    }
    if (!root.IsMap() || !root["format"]) fail(root, "not a project file (no \"format\")");
    const int format = integer(root["format"]);
    if (format < 1 || format > kProjectFormat) {
      fail(root["format"], "a project of format " + std::to_string(format) +
                               ", which this version of Quorrel cannot read (it reads format " +
                               std::to_string(kProjectFormat) + "); open it with a newer one");
    }
    ProjectRead read;
    Project& project = read.project;
    const YAML::Node model = root["model"];
    if (!model || !model.IsScalar()) fail(root, "the project has no model");
    EditorState editor;
    const ModelFileOutcome outcome =
        ReadModelText(model.Scalar(), project.model, project.settings, editor);
    if (!outcome.sampleComplete) fail(model, "the project's model is damaged");
    if (outcome.compileError) fail(model, "the user function: " + *outcome.compileError);
    if (const YAML::Node s = root["settings"]) readSettings(s, project.settings);
    if (const YAML::Node angles = root["theta_mag"]) readAngles(angles, project.model);
    for (const YAML::Node& m : sequence(root["measurements"])) {
      project.measurements.push_back(measurement(m, read.notes));
    }
    if (const YAML::Node fit = root["fit"]) project.fit = fitSetup(fit);
    if (const YAML::Node last = root["last_fit"]) project.lastFit = lastFit(last);
    if (const YAML::Node sampled = root["sampling"]) project.sampling = sampling(sampled);
    return read;
  }

 private:
  [[noreturn]] void fail(int line, const std::string& what) const {
    throw FileError(path_.string() + ": line " + std::to_string(line + 1) + ": " + what);
  }
  [[noreturn]] void fail(const YAML::Node& node, const std::string& what) const {
    fail(node.Mark().is_null() ? 0 : node.Mark().line, what);
  }

  std::vector<YAML::Node> sequence(const YAML::Node& node) const {
    if (!node || node.IsNull()) return {};
    if (!node.IsSequence()) fail(node, "a list was expected here");
    return {node.begin(), node.end()};
  }

  std::string text(const YAML::Node& node) const {
    if (!node.IsScalar()) fail(node, "a value was expected here");
    return node.Scalar();
  }

  double number(const YAML::Node& node) const {
    const std::string t = text(node);
    double value = 0.0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (error != std::errc() || end != t.data() + t.size()) fail(node, "'" + t + "' is not a number");
    return value;
  }
  double number(const YAML::Node& map, const char* key, double fallback) const {
    const YAML::Node node = map[key];
    return node ? number(node) : fallback;
  }

  template <typename Whole = int>
  Whole integer(const YAML::Node& node) const {
    const std::string t = text(node);
    Whole value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (error != std::errc() || end != t.data() + t.size()) {
      fail(node, "'" + t + "' is not a whole number");
    }
    return value;
  }

  bool flag(const YAML::Node& map, const char* key, bool fallback) const {
    const YAML::Node node = map[key];
    if (!node) return fallback;
    const std::string t = text(node);
    if (t == "true") return true;
    if (t == "false") return false;
    fail(node, "'" + t + "' is neither true nor false");
  }

  template <typename Enum>
  Enum named(const YAML::Node& map, const char* key, const Names<Enum>& names,
             Enum fallback) const {
    const YAML::Node node = map[key];
    if (!node) return fallback;
    const std::optional<Enum> value = names.find(text(node));
    if (!value) fail(node, "unknown " + std::string(key) + " '" + text(node) + "'");
    return *value;
  }

  void readSettings(const YAML::Node& s, CalcSettings& settings) const {
    settings.cbUserRange = flag(s, "user_q_range", settings.cbUserRange);
    settings.edtminQ = number(s, "q_min", settings.edtminQ);
    settings.edtMaxQ = number(s, "q_max", settings.edtMaxQ);
    if (s["q_points"]) settings.edtNumPoints = integer(s["q_points"]);
    settings.cbMagnet = flag(s, "magnetic", settings.cbMagnet);
    settings.cbTransmission = flag(s, "transmission", settings.cbTransmission);
    settings.edtWavelength = number(s, "wavelength", settings.edtWavelength);
    settings.edtSampleThickness = number(s, "sample_thickness", settings.edtSampleThickness);
    settings.cbUserZ = flag(s, "user_z_range", settings.cbUserZ);
    if (s["z_min"]) settings.edtMinZ = integer(s["z_min"]);
    if (s["z_max"]) settings.edtMaxZ = integer(s["z_max"]);
    if (s["z_points"]) settings.edtNumPointsZ = integer(s["z_points"]);
    settings.resolutionFromData = flag(s, "resolution_from_data", settings.resolutionFromData);
    settings.smearing = named(s, "smearing", kKernels, settings.smearing);
    settings.radiation = named(s, "radiation", kRadiations, settings.radiation);
    if (const YAML::Node flip = s["spin_flip"]) {
      settings.spinFlip.enabled = flag(flip, "on", false);
      settings.spinFlip.aguide = number(flip, "aguide", settings.spinFlip.aguide);
      settings.spinFlip.field = number(flip, "field", settings.spinFlip.field);
    }
  }

  //! After the model file's text, which sets every angle back to its default.
  void readAngles(const YAML::Node& angles, SampleModel& model) const {
    for (const auto& [name, grid] : {std::pair{"base", &model.baseGrid}, {"ml", &model.mlGrid}}) {
      const std::vector<YAML::Node> cells = sequence(angles[name]);
      for (std::size_t k = 0; k < cells.size(); ++k) {
        const int row = static_cast<int>(k) + 1;
        if (row >= grid->rowCount()) break;  // more angles than rows: the model's rows rule
        grid->setCell(row, kColThetaM, cells[k].IsNull() ? std::string() : text(cells[k]));
      }
    }
  }

  Measurement measurement(const YAML::Node& m, std::vector<std::string>& notes) const {
    if (!m.IsMap()) fail(m, "a measurement was expected here");
    Measurement out;
    out.label = m["label"] ? text(m["label"]) : std::string("data");
    out.scale = number(m, "scale", 1.0);
    if (const YAML::Node b = m["background"]) {
      MeasurementBackground& g = out.background;
      g.on = flag(b, "on", false);
      g.kind = named(b, "kind", kBackgrounds, BackgroundKind::Constant);
      g.y0 = number(b, "y0", 0.0);
      g.m = number(b, "m", 0.0);
      g.peakA = number(b, "A", 0.0);
      g.peakW = number(b, "w", 0.0);
      g.peakXC = number(b, "xc", 0.0);
    }
    out.resolution = named(m, "resolution", kResolutions, ResolutionSource::Settings);
    if (const YAML::Node c = m["channel"]) {
      const std::optional<SpinChannel> channel = SpinChannelOfName(text(c));
      if (!channel) fail(c, "unknown channel '" + text(c) + "' (R--, R-+, R+- or R++)");
      out.channel = *channel;
    }
    const std::vector<YAML::Node> region = sequence(m["region"]);
    if (region.size() == 2) {
      out.data.fitRegionLow = number(region[0]);
      out.data.fitRegionHigh = number(region[1]);
    }
    for (const YAML::Node& o : sequence(m["overrides"])) {
      if (!o.IsMap() || !o["entry"] || !o["value"]) fail(o, "an override needs entry and value");
      out.overrides.push_back({integer(o["entry"]), number(o["value"])});
    }
    readPoints(m["points"], out.data);
    if (const YAML::Node file = m["file"]) {
      const std::filesystem::path stored(text(file));
      const std::filesystem::path full = (path_.parent_path() / stored).lexically_normal();
      out.data.fileName = full.string();
      const std::string hash = FileHash(full);
      if (hash.empty()) {
        notes.push_back(out.label + ": " + stored.generic_string() +
                        " is not there; the project's copy of its points is used");
      } else if (m["file_hash"] && hash != text(m["file_hash"])) {
        notes.push_back(out.label + ": " + stored.generic_string() +
                        " differs from the copy in the project, which is used");
      }
    } else {
      out.data.fileName = out.label;
    }
    return out;
  }

  void readPoints(const YAML::Node& node, MeasuredData& data) const {
    if (!node) fail(node, "a measurement without points");
    std::istringstream lines(text(node));
    lines.imbue(std::locale::classic());
    std::string line;
    int row = 0;
    while (std::getline(lines, line)) {
      ++row;
      if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
      std::vector<double> values;
      std::size_t at = 0;
      while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t\r", at);
        if (start == std::string::npos) break;
        const std::size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
        double value = 0.0;
        const auto result = std::from_chars(line.data() + start, line.data() + end, value);
        if (result.ec != std::errc() || result.ptr != line.data() + end) {
          fail(node, "point " + std::to_string(row) + " is not a row of numbers");
        }
        values.push_back(value);
        at = end;
      }
      // The first row decides whether the points carry sQz; every row then agrees.
      const std::size_t columns = data.count() == 0 ? values.size() : (data.hasResolution() ? 4 : 3);
      if (values.size() != columns || columns < 3 || columns > 4) {
        fail(node, "point " + std::to_string(row) + " needs Qz, R, dR and, in every row or none, sQz");
      }
      if (!(values[1] > 0.0)) fail(node, "point " + std::to_string(row) + " has R not above 0");
      if (data.count() >= MeasuredData::kMaxPoints) fail(node, "too many points");
      data.qz.push_back(values[0]);
      data.r.push_back(values[1]);
      data.dr.push_back(values[2]);
      if (values.size() == 4) data.sqz.push_back(values[3]);
    }
  }

  ProjectFitSetup fitSetup(const YAML::Node& fit) const {
    ProjectFitSetup setup;
    setup.method = named(fit, "method", kMethods, setup.method);
    setup.weighting = named(fit, "weighting", kWeightings, setup.weighting);
    setup.includeResolution = flag(fit, "resolution", false);
    setup.includeBackground = flag(fit, "background", false);
    setup.tolerance = number(fit, "tolerance", setup.tolerance);
    for (const YAML::Node& e : sequence(fit["entries"])) {
      if (!e.IsMap() || !e["entry"]) fail(e, "a fit entry needs its number");
      EntrySetup entry;
      entry.index = integer(e["entry"]);
      entry.vary = flag(e, "vary", false);
      entry.bounds.lower = number(e, "lower", entry.bounds.lower);
      entry.bounds.upper = number(e, "upper", entry.bounds.upper);
      if (e["link"]) entry.link = text(e["link"]);
      if (e["name"]) entry.name = text(e["name"]);
      setup.entries.push_back(entry);
    }
    return setup;
  }

  FitRecord lastFit(const YAML::Node& last) const {
    FitRecord record;
    if (last["date"]) record.date = text(last["date"]);
    record.method = named(last, "method", kMethods, record.method);
    record.weighting = named(last, "weighting", kWeightings, record.weighting);
    record.chiSquare = number(last, "chi_square", 0.0);
    for (const YAML::Node& v : sequence(last["values"])) {
      if (!v.IsMap() || !v["entry"] || !v["value"]) fail(v, "a fitted value needs entry and value");
      FittedValue value{integer(v["entry"]), v["name"] ? text(v["name"]) : std::string(),
                        number(v["value"]), std::nullopt};
      if (v["error"]) value.error = number(v["error"]);
      record.values.push_back(std::move(value));
    }
    for (const YAML::Node& chi : sequence(last["measurements"])) {
      if (chi.IsNull()) {
        record.measurementChiSquares.emplace_back();
      } else {
        record.measurementChiSquares.emplace_back(number(chi));
      }
    }
    return record;
  }

  SamplingRecord sampling(const YAML::Node& node) const {
    if (!node.IsMap()) fail(node, "the sampling is not a map");
    SamplingRecord record;
    if (node["date"]) record.date = text(node["date"]);
    record.walkers = node["walkers"] ? integer(node["walkers"]) : 0;
    record.burnInSteps = node["burn_in"] ? integer(node["burn_in"]) : 0;
    record.steps = node["steps"] ? integer(node["steps"]) : 0;
    record.thinning = node["thinning"] ? integer(node["thinning"]) : 1;
    if (node["seed"]) record.seed = integer<std::uint64_t>(node["seed"]);
    record.acceptance = number(node, "acceptance", 0.0);
    for (const YAML::Node& v : sequence(node["values"])) {
      if (!v.IsMap() || !v["entry"] || !v["median"]) {
        fail(v, "a sampled value needs entry and median");
      }
      record.values.push_back({integer(v["entry"]), v["name"] ? text(v["name"]) : std::string(),
                               number(v["median"]), number(v, "minus", 0.0),
                               number(v, "plus", 0.0), number(v, "lower_95", 0.0),
                               number(v, "upper_95", 0.0)});
    }
    return record;
  }

  std::filesystem::path path_;
};

}  // namespace

std::string ProjectText(const Project& project, const std::filesystem::path& folder,
                        DataFileHashes hashes) {
  YAML::Emitter out;
  out << YAML::BeginMap;
  out << YAML::Key << "format" << YAML::Value << kProjectFormat;
  out << YAML::Key << "creator" << YAML::Value << "Quorrel " QUORREL_VERSION;
  // YAML keeps line feeds; the model file's own line ends are restored when it is read.
  std::string model = ModelFileText(project.model, project.settings);
  std::erase(model, '\r');
  out << YAML::Key << "model" << YAML::Value << YAML::Literal << model;
  EmitSettings(out, project.settings);
  EmitAngles(out, project.model);
  out << YAML::Key << "measurements" << YAML::Value << YAML::BeginSeq;
  for (const Measurement& m : project.measurements) EmitMeasurement(out, m, folder, hashes);
  out << YAML::EndSeq;
  EmitFit(out, project.fit);
  if (project.lastFit) EmitLastFit(out, *project.lastFit);
  if (project.sampling) EmitSampling(out, *project.sampling);
  out << YAML::EndMap;
  return std::string(out.c_str()) + "\n";
}

void WriteProjectFile(const std::filesystem::path& path, const Project& project) {
  WriteFileAtomically(path, ProjectText(project, std::filesystem::absolute(path).parent_path()));
}

ProjectRead ReadProjectText(const std::string& text, const std::filesystem::path& path) {
  try {
    return ProjectReader(path).read(text);
  } catch (const YAML::Exception& error) {
    // A value of the wrong shape (a list where a map belongs, say) that the reader's own
    // checks did not catch first.
    throw FileError(path.string() + ": line " + std::to_string(error.mark.line + 1) +
                    ": not a project file (" + error.msg + ")");
  }
}

ProjectRead ReadProjectFile(const std::filesystem::path& path) {
  return ReadProjectText(ReadTextFile(path, "project file"),
                         std::filesystem::absolute(path));
}

std::string FileHash(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  std::uint64_t hash = 14695981039346656037ull;
  for (std::istreambuf_iterator<char> it(file), end; it != end; ++it) {
    hash ^= static_cast<unsigned char>(*it);
    hash *= 1099511628211ull;
  }
  char buffer[17];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, hash, 16);
  std::string digits(buffer, result.ptr);
  return std::string(16 - digits.size(), '0') + digits;
}

}  // namespace quorrel
