// The .ort files we write: valid ORSO headers by the standard's schema, read back into the
// same curves, the same model and the same fit results.

#include "files/orso_file_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include <yaml-cpp/yaml.h>

#include "files/model_file_reader.h"
#include "files/orso_file.h"
#include "files/orso_model.h"
#include "model/layer_stack_builder.h"
#include "scratch_folder.h"
#include "scripted_questions.h"

namespace quorrel {
namespace {

const std::string kExamples = QUORREL_EXAMPLES;

//! Every density in a written model is an sld: the table is never asked.
class NoTable : public MaterialCatalogue {
 public:
  std::optional<LayerSld> byName(const std::string&, Radiation) const override { return std::nullopt; }
  LayerSld byFormula(const std::string&, FormulaDensity, Radiation) const override { return {}; }
};

SampleModel Example(const std::string& name) {
  SampleModel model;
  CalcSettings settings;
  EditorState editor;
  ReadModelFile(kExamples + "/" + name, model, settings, editor);
  return model;
}

//! Three points with their widths; the transmission lacks the middle one.
ReflectivityResult Curves() {
  ReflectivityResult result;
  result.plain = {{0.01, 0.02, 0.1 / 3}, {0.9, 0.012345678901234567, 1e-7}};
  result.spinUp = {{0.01, 0.02, 0.1 / 3}, {0.95, 0.02, 2e-7}};
  result.spinDown = {{0.01, 0.02, 0.1 / 3}, {0.85, 0.01, 5e-8}};
  result.transmission = {{0.01, 0.1 / 3}, {0.5, 0.25}};
  result.pointResolution = {0.0002, 0.0004, 0.0006};
  return result;
}

const OrsoWriteInfo kInfo{"A. User", "lab-pc", "2026-12-09T01:30:00", "0.1.0", "multilayer.par",
                          "/data/run 7.ort", Radiation::Xrays};

const OrsoFitSummary kFit{"Levenberg-Marquardt", "use 1/y", 12.5, 1.25, 10,
                          {{"3: d / Å of layer 1", 20.123456789, 0.25}, {"8: rho \"x\"", 8.4e-6, std::nullopt}}};

//! The header of a written text as YAML.
YAML::Node Header(const std::string& text) {
  std::istringstream lines(text);
  std::string yaml;
  for (std::string line; std::getline(lines, line) && line.starts_with('#');) {
    if (!line.starts_with("# #")) yaml += line.substr(2) + "\n";
  }
  return YAML::Load(yaml);
}

TEST(OrsoFileWriter, TheHeaderHasWhatTheStandardsSchemaRequires) {
  const std::string text =
      OrsoFileText(Example("multilayer.par"), Curves(), true, true, kInfo, kFit);
  EXPECT_TRUE(text.starts_with(
      "# # ORSO reflectivity data file | 1.1 standard | YAML encoding | https://www.reflectometry.org/\n"));
  const YAML::Node header = Header(text);
  const YAML::Node source = header["data_source"];
  for (const char* key : {"name", "affiliation"}) EXPECT_TRUE(source["owner"][key].IsDefined()) << key;
  for (const char* key : {"title", "instrument", "start_date", "probe"}) {
    EXPECT_TRUE(source["experiment"][key].IsDefined()) << key;
  }
  EXPECT_EQ(source["experiment"]["probe"].Scalar(), "x-ray");  // of the enum neutron, x-ray
  EXPECT_EQ(source["sample"]["name"].Scalar(), "multilayer.par");
  EXPECT_TRUE(source["sample"]["model"]["stack"].IsScalar());
  const YAML::Node settings = source["measurement"]["instrument_settings"];
  EXPECT_TRUE(settings["incident_angle"]["magnitude"].IsNull());
  EXPECT_TRUE(settings["wavelength"]["magnitude"].IsNull());
  EXPECT_EQ(source["measurement"]["data_files"][0].Scalar(), "/data/run 7.ort");
  EXPECT_EQ(header["reduction"]["software"]["name"].Scalar(), "Quorrel");
  EXPECT_EQ(header["reduction"]["creator"]["name"].Scalar(), "A. User");
  // The first four columns are Qz, R, sR, sQz, the errors with their error_of.
  const YAML::Node columns = header["columns"];
  ASSERT_EQ(columns.size(), 7u);
  const char* names[] = {"Qz", "R", "sR", "sQz", "R_up", "R_down", "T"};
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(columns[i]["name"].Scalar(), names[i]);
  EXPECT_EQ(columns[0]["unit"].Scalar(), "1/angstrom");
  EXPECT_EQ(columns[2]["error_of"].Scalar(), "R");
  EXPECT_EQ(columns[3]["error_of"].Scalar(), "Qz");
  EXPECT_EQ(columns[3]["value_is"].Scalar(), "sigma");
}

TEST(OrsoFileWriter, AWrittenFileReadsBackIntoTheSameCurvesAndFit) {
  ScratchFolder folder;
  const auto path = folder / "written.ort";
  const ReflectivityResult curves = Curves();
  WriteOrsoFile(path, Example("multilayer.par"), curves, true, true, kInfo, kFit);

  MeasuredData data;
  ScriptedQuestions questions;
  std::vector<std::string> notes;
  ASSERT_EQ(LoadOrsoData(path, 0, data, questions, notes), LoadOutcome::Loaded);
  EXPECT_EQ(data.qz, curves.plain.x);
  EXPECT_EQ(data.r, curves.plain.y);
  EXPECT_EQ(data.sqz, (std::vector<double>{0.0001, 0.0002, 0.0003}));
  EXPECT_TRUE(notes.empty());
  EXPECT_TRUE(questions.messages.empty());

  // The further columns in step with Qz; the transmission's missing point is nan.
  std::istringstream text(ScratchFolder::read(path));
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(text, line);) {
    if (line.starts_with('#')) continue;
    std::istringstream fields(line);
    rows.emplace_back(std::istream_iterator<std::string>(fields), std::istream_iterator<std::string>());
  }
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(std::stod(rows[1][4]), 0.02);
  EXPECT_EQ(std::stod(rows[2][5]), 5e-8);
  EXPECT_EQ(std::stod(rows[2][6]), 0.25);
  EXPECT_EQ(rows[1][6], "nan");

  EXPECT_EQ(ReadOrsoFitSummary(path), kFit);
  EXPECT_EQ(OrsoFitSummaryLines(kFit)[2], "3: d / Å of layer 1 = 20.123456789 ± 0.25");
  WriteOrsoFile(path, Example("multilayer.par"), curves, false, false, kInfo, std::nullopt);
  EXPECT_FALSE(ReadOrsoFitSummary(path));
}

TEST(OrsoFileWriter, EveryModelTheLanguageHoldsReadsBackIntoTheSameLayerStack) {
  ScratchFolder folder;
  const NoTable table;
  for (const char* name : {"default.par", "multilayer.par", "magnetic.par", "symmetric_film.par"}) {
    const SampleModel model = Example(name);
    const auto path = folder / "model.ort";
    WriteOrsoFile(path, model, Curves(), false, false, kInfo, std::nullopt);
    const OrsoModel back = ReadOrsoModel(path, table);
    EXPECT_EQ(back.radiation, Radiation::Xrays);
    if (model.type != SampleType::SymmetricFilm) {
      // The same type, counts and cells: labels as written, numbers to the last digit shown.
      EXPECT_EQ(back.model.type, model.type) << name;
      EXPECT_EQ(back.model.edtLayers, model.edtLayers) << name;
      EXPECT_EQ(back.model.edtRepts, model.edtRepts) << name;
      EXPECT_EQ(back.model.edtInsertLayer, model.edtInsertLayer) << name;
      for (int row = 2; row <= model.edtLayers + 1; ++row) {
        EXPECT_EQ(back.model.baseGrid.cell(row, kColLabel), model.baseGrid.cell(row, kColLabel))
            << name << " row " << row;
      }
    }
    for (const SpinState spin : {SpinState::Down, SpinState::None, SpinState::Up}) {
      LayerStack original, read;
      BuildLayerStack(model, spin, original);
      BuildLayerStack(back.model, spin, read);
      ASSERT_EQ(read.layerCount(), original.layerCount()) << name;
      for (int medium = 0; medium <= original.layerCount() + 1; ++medium) {
        EXPECT_DOUBLE_EQ(read.rho(medium), original.rho(medium)) << name << " medium " << medium;
        EXPECT_DOUBLE_EQ(read.imRho(medium), original.imRho(medium)) << name << " medium " << medium;
        EXPECT_DOUBLE_EQ(read.thickness(medium), original.thickness(medium)) << name << " medium " << medium;
        EXPECT_DOUBLE_EQ(read.sigma(medium), original.sigma(medium)) << name << " medium " << medium;
      }
    }
  }
  // An analytical profile function has no model in the file, and says why.
  const auto path = folder / "function.ort";
  WriteOrsoFile(path, Example("builtin_function.par"), Curves(), false, false, kInfo, std::nullopt);
  EXPECT_FALSE(OrsoFileHasModel(path));
  EXPECT_NE(ScratchFolder::read(path).find("an analytical profile function, which the ORSO model "
                                           "language cannot describe"), std::string::npos);
}

TEST(OrsoFileWriter, TheCommittedFileOfAFitReadsBackWithItsModelAndResults) {
  // Written by quorrel-cli fit examples/multilayer.par examples/multilayer_measured.dat
  // --vary 7,11 --method lm -o examples/multilayer_fitted.ort (see the README).
  const std::string path = kExamples + "/multilayer_fitted.ort";
  MeasuredData data;
  ScriptedQuestions questions;
  std::vector<std::string> notes;
  ASSERT_EQ(LoadOrsoData(path, 0, data, questions, notes), LoadOutcome::Loaded);
  EXPECT_EQ(data.count(), 192);  // the measured points
  EXPECT_TRUE(data.hasResolution());

  const OrsoModel fitted = ReadOrsoModel(path, NoTable());
  const SampleModel original = Example("multilayer.par");
  EXPECT_EQ(fitted.model.type, SampleType::MultipleLayers);
  EXPECT_EQ(fitted.model.edtRepts, original.edtRepts);
  EXPECT_EQ(fitted.model.edtStackedLayers, original.edtStackedLayers);
  EXPECT_EQ(fitted.model.baseGrid.cell(3, kColRho), "2.678E-6");  // the fitted rho_bulk

  const std::optional<OrsoFitSummary> fit = ReadOrsoFitSummary(path);
  ASSERT_TRUE(fit);
  EXPECT_EQ(fit->method, "Levenberg-Marquardt");
  EXPECT_EQ(fit->weighting, "use 1/y");
  EXPECT_EQ(fit->degreesOfFreedom, 190);
  ASSERT_EQ(fit->values.size(), 2u);
  EXPECT_EQ(fit->values[0].name, "rho_bulk");
  EXPECT_NEAR(fit->values[0].value, 2.678e-6, 0.001e-6);
  EXPECT_TRUE(fit->values[1].error.has_value());
}

}  // namespace
}  // namespace quorrel
