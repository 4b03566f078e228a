// quorrel-cli import-model: a model built from another program's file, as a model file or as
// a project that also holds the file's data sets.

#include "cli/arguments.h"
#include "cli/command_inputs.h"
#include "cli/commands.h"
#include "cli/curve_output.h"
#include "cli/table_option.h"
#include "database/table_catalogue.h"
#include "files/file_kind.h"
#include "files/layer_table_file.h"
#include "files/model_file_writer.h"
#include "files/project_file.h"
#include "files/orso_model.h"

namespace quorrel::cli {

namespace {

//! A model read from a file with its settings, and what the user should know about it.
struct ImportedModel {
  SampleModel model;
  std::vector<std::string> notes;
  CalcSettings settings;  //!< the defaults, but for what the file says of the sample
};

ImportedModel ImportOrso(const std::string& path, const Arguments& args) {
  const TableCatalogue catalogue = TableCatalogue::Load(TablePath(args));
  OrsoModel built = ReadOrsoModel(path, catalogue);
  if (built.radiation == Radiation::Xrays) built.notes.push_back("the densities are for x-rays");
  return {std::move(built.model), std::move(built.notes), CalcSettings()};
}

//! A layer table of the polarised reference cases: with angles it is a spin-flip sample.
ImportedModel ImportLayerTable(const std::string& path, const Arguments&) {
  const LayerTable table = ReadLayerTable(path);
  ImportedModel imported{ModelOfLayerTable(table.stack), {}, CalcSettings()};
  if (table.form == LayerTableForm::Polarised) {
    imported.settings.cbMagnet = true;
    imported.settings.spinFlip.enabled = true;
  }
  return imported;
}

using Importer = ImportedModel (*)(const std::string& path, const Arguments& args);

//! The reader of a file, chosen by its extension.
Importer ImporterFor(const std::string& path) {
  if (FileKindOf(path) == FileKind::Orso) return ImportOrso;
  if (FileKindOf(path) == FileKind::LayerTable) return ImportLayerTable;
  throw UsageError("import-model reads ORSO files (.ort) and layer tables (.layers), not '" +
                   path + "'");
}

//! The project of an imported model: its data sets as measurements, each smeared with its
//! own resolution where it carries one (an ORSO file's sQz is the instrument's).
Project ImportedProject(ImportedModel imported, const std::string& path, std::ostream& err) {
  Project project;
  project.model = std::move(imported.model);
  project.settings = imported.settings;
  if (FileKindOf(path) != FileKind::Orso) return project;  // a layer table holds no data
  project.measurements = LoadOrsoMeasurementsInput(std::filesystem::absolute(path).string(),
                                                   project.settings,
                                                   DataLineRule::ReportAndSkip, err);
  for (Measurement& m : project.measurements) {
    if (m.data.hasResolution()) m.resolution = ResolutionSource::Data;
  }
  return project;
}

int RunImportModel(const std::vector<std::string>& rawArgs, std::ostream& out,
                   std::ostream& err) {
  const Arguments args(rawArgs, {.valueOptions = {kOutputOption, kDatabaseOption}, .switches = {}});
  if (args.positional().size() != 1) throw UsageError("import-model takes one file");
  const std::string& path = args.positional()[0];
  const Importer importer = ImporterFor(path);
  const std::optional<std::string> output = args.value(kOutputOption);
  const bool toProject = output && FileKindOf(*output) == FileKind::Project;
  if (output && !toProject && FileKindOf(*output) != FileKind::Model) {
    throw UsageError("-o takes a model parameter file (.par) or a project (.qproj), not '" +
                     *output + "'");
  }
  ImportedModel imported = importer(path, args);
  for (const std::string& note : imported.notes) err << "quorrel-cli: " << path << ": " << note << '\n';
  if (toProject) {
    WriteProjectFile(*output, ImportedProject(std::move(imported), path, err));
    return kSuccess;
  }
  if (imported.settings.spinFlip.enabled) {
    err << "quorrel-cli: " << path << ": the magnetisation angles and spin flip are kept in a "
        << "project (-o PROJECT.qproj); a model file keeps only the collinear part\n";
  }
  // A new model starts with the settings' defaults: no background, no resolution.
  DeliverOutput(ModelFileText(imported.model, imported.settings), args, out);
  return kSuccess;
}

}  // namespace

const Command kImportModelCommand{
    "import-model", "the sample model that an ORSO file's header describes, as a model file",
    "usage: quorrel-cli import-model FILE.ort|LAYERS.layers [-o MODEL.par|PROJECT.qproj]\n"
    "                                [--database PATH]\n"
    "Builds the model that the header of FILE.ort describes in the ORSO model language\n"
    "(data_source: sample: model: stack: ...) and writes it as a model parameter file to\n"
    "MODEL.par, or to standard output without -o. The stack's first item becomes \"air\", its\n"
    "last \"bulk\"; one repeated block of at most 99 layers repeated at most 99 times becomes\n"
    "multiple layers, other repetitions are written out as independent layers. Densities come\n"
    "from the header, or by name or formula from the material table (the shipped table\n"
    "unless --database gives another), for the probe the header names. What a model cannot\n"
    "hold is refused with a message naming the item and its line.\n"
    "With -o PROJECT.qproj a project is written instead: the model and, as its measurements,\n"
    "every data set of FILE.ort (labelled by its name, or its number from 0), each smeared\n"
    "with its own sQz where it has one; rows with R not above 0 are left out and reported.\n"
    "quorrel-cli fit PROJECT.qproj --vary ... then fits them together.\n"
    "A layer table LAYERS.layers of the polarised reference cases (thickness, sld, mu,\n"
    "thetaM, sldm, roughness, or thickness, sld, isld, roughness; densities in 1e-6 A^-2)\n"
    "becomes independent layers; with angles, a project keeps them with spin flip switched\n"
    "on, so quorrel-cli reflectivity PROJECT.qproj --spin-flip computes the case.\n"
    "Exit status: 0 success, 1 unreadable file or a model that cannot be built, 2 usage error.\n",
    RunImportModel};

}  // namespace quorrel::cli
