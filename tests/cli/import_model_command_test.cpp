// quorrel-cli import-model, run in-process against the shipped table.

#include <gtest/gtest.h>

#include "../files/scratch_folder.h"
#include "cli/command.h"
#include "common/decimal_separator.h"
#include "files/model_file_reader.h"
#include "files/project_file.h"
#include "in_process_run.h"
#include "model/cell_values.h"

namespace quorrel::cli {
namespace {

const std::string kShipped = QUORREL_SHIPPED_MATERIAL_TABLE;

// A facility's header: sapphire and a repeated Ti/Ni period on silicon, by name, in nm.
constexpr const char* kFacilityFile =
    "# # ORSO reflectivity data file | 1.0 standard | YAML encoding | https://www.reflectometry.org/\n"
    "# data_source:\n"
    "#   experiment: {title: run, instrument: refl, start_date: 2024-01-01, probe: neutron}\n"
    "#   sample:\n"
    "#     name: multilayer\n"
    "#     model:\n"
    "#       stack: vacuum | Al2O3 2 | 5 ( Ti 3 | Ni 7 ) | Si\n"
    "# columns: [{name: Qz, unit: 1/angstrom}, {name: R}, {name: sR}, {name: sQz}]\n"
    "0.01 0.9 0.01 0.0001\n";

TEST(ImportModelCommand, WritesTheModelOfAnOrsoHeader) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  const auto ort = folder.write("run.ort", kFacilityFile);
  const auto par = folder / "run.par";
  const Outcome written =
      RunCommand("import-model", {ort.string(), "-o", par.string(), "--database", kShipped});
  EXPECT_EQ(written.status, kSuccess);
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(written.err, "");

  SampleModel model;
  CalcSettings settings;
  EditorState editor;
  ReadModelFile(par, model, settings, editor);
  EXPECT_EQ(model.type, SampleType::MultipleLayers);
  EXPECT_EQ(model.edtLayers, 1);
  EXPECT_EQ(model.edtRepts, 5);
  EXPECT_EQ(model.baseGrid.cell(2, kColLabel), "Al2O3");
  EXPECT_EQ(model.baseGrid.cell(2, kColThickness), "20");
  EXPECT_NEAR(CellNumber(model.baseGrid, "BaseGrid", 3, kColRho), 2.074e-6, 0.001e-6);  // Si
  EXPECT_EQ(model.mlGrid.cell(2, kColThickness), "70");
  EXPECT_NEAR(CellNumber(model.mlGrid, "MLGrid", 2, kColRho), 9.41e-6, 0.02e-6);  // Ni

  // Without -o the model file's text goes to standard output.
  const Outcome printed = RunCommand("import-model", {ort.string(), "--database", kShipped});
  EXPECT_EQ(printed.out, ScratchFolder::read(par));
}

TEST(ImportModelCommand, RefusesWhatItCannotReadOrWrite) {
  ScratchFolder folder;
  const auto ort = folder.write("run.ort", kFacilityFile);
  EXPECT_THROW(RunCommand("import-model", {(folder / "m.txt").string()}), UsageError);
  EXPECT_THROW(RunCommand("import-model", {ort.string(), "-o", "m.txt"}), UsageError);
  const auto unknown = folder.write(
      "u.ort", std::string(kFacilityFile).replace(std::string(kFacilityFile).find("Ti 3"), 4, "Xy 3"));
  try {
    RunCommand("import-model", {unknown.string(), "--database", kShipped});
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()),
              unknown.string() + ": line 7: the material \"Xy\" is not in the material table and the "
              "header gives it no density: give it an sld, or a formula with a mass_density");
  }
}

TEST(ImportModelCommand, WritesAProjectWithEveryDataSetAsAMeasurement) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  const std::string ort = std::string(QUORREL_TEST_DATA) + "/ort/two_sets_with_model.ort";
  const auto qproj = folder / "ni.qproj";
  const Outcome written =
      RunCommand("import-model", {ort, "-o", qproj.string(), "--database", kShipped});
  EXPECT_EQ(written.status, kSuccess);
  EXPECT_EQ(written.out, "");
  EXPECT_NE(written.err.find("data set \"spin down\": 1 rows with R not above zero dropped "
                             "(the first in line 36)"),
            std::string::npos) << written.err;

  const ProjectRead read = ReadProjectFile(qproj);
  EXPECT_TRUE(read.notes.empty());
  EXPECT_EQ(read.project.model.baseGrid.cell(2, kColLabel), "Ni");
  EXPECT_EQ(read.project.model.baseGrid.cell(2, kColThickness), "200");
  const std::vector<Measurement>& sets = read.project.measurements;
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0].label, "spin up");
  EXPECT_EQ(sets[1].label, "spin down");
  EXPECT_EQ(sets[0].data.r, (std::vector<double>{0.9, 0.05, 0.004}));
  EXPECT_EQ(sets[1].data.qz, (std::vector<double>{0.01, 0.02, 0.03}));  // without R = 0
  EXPECT_EQ(sets[1].data.r, (std::vector<double>{0.8, 0.03, 0.002}));
  EXPECT_EQ(sets[1].data.dr, (std::vector<double>{0.01, 0.002, 0.0003}));
  EXPECT_EQ(sets[1].data.sqz, (std::vector<double>{0.0005, 0.0006, 0.0007}));
  EXPECT_EQ(sets[1].resolution, ResolutionSource::Data);
  EXPECT_EQ(std::filesystem::path(sets[1].data.fileName), std::filesystem::path(ort).lexically_normal());

  // The project is fitted as it stands: both data sets, each with its own scale.
  const Outcome fitted = RunCommand(
      "fit", {qproj.string(), "--vary", "scale [spin up],scale [spin down]", "--method", "lm"});
  EXPECT_EQ(fitted.status, kSuccess);
  EXPECT_NE(fitted.out.find("chi-square [spin down]: "), std::string::npos) << fitted.out;
}

TEST(ReflectivityCommand, WritesAnOrsoFileThatImportModelReadsBack) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  const auto ort = folder / "multilayer.ort";
  const std::string model = std::string(QUORREL_EXAMPLES) + "/multilayer.par";
  EXPECT_EQ(RunCommand("reflectivity", {model, "--points", "5", "-o", ort.string(), "--xray"}).status,
            kSuccess);
  const std::string text = ScratchFolder::read(ort);
  EXPECT_NE(text.find("stack: \"air | 1 | 10 ( period_1 | period_2 ) | bulk\""), std::string::npos);
  EXPECT_NE(text.find("probe: x-ray"), std::string::npos);
  const Outcome back = RunCommand("import-model", {ort.string(), "--database", kShipped});
  EXPECT_EQ(back.err, "quorrel-cli: " + ort.string() + ": the densities are for x-rays\n");
  SampleModel read;
  CalcSettings settings;
  EditorState editor;
  const auto par = folder.write("back.par", back.out);
  ReadModelFile(par, read, settings, editor);
  EXPECT_EQ(read.type, SampleType::MultipleLayers);
  EXPECT_EQ(read.edtRepts, 10);
  EXPECT_EQ(read.mlGrid.cell(2, kColRho), "-1.95E-6");
  EXPECT_THROW(RunCommand("reflectivity", {model, "--xray"}), UsageError);
}

}  // namespace
}  // namespace quorrel::cli
