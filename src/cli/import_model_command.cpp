// quorrel-cli import-model: a model built from another program's file, as a model file.

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/curve_output.h"
#include "cli/table_option.h"
#include "database/table_catalogue.h"
#include "files/file_kind.h"
#include "files/model_file_writer.h"
#include "files/orso_model.h"

namespace quorrel::cli {

namespace {

//! A model read from a file, and what the user should know about it.
struct ImportedModel {
  SampleModel model;
  std::vector<std::string> notes;
};

ImportedModel ImportOrso(const std::string& path, const Arguments& args) {
  const TableCatalogue catalogue = TableCatalogue::Load(TablePath(args));
  OrsoModel built = ReadOrsoModel(path, catalogue);
  if (built.radiation == Radiation::Xrays) built.notes.push_back("the densities are for x-rays");
  return {std::move(built.model), std::move(built.notes)};
}

using Importer = ImportedModel (*)(const std::string& path, const Arguments& args);

//! The reader of a file, chosen by its extension.
Importer ImporterFor(const std::string& path) {
  if (FileKindOf(path) == FileKind::Orso) return ImportOrso;
  throw UsageError("import-model reads ORSO files (.ort), not '" + path + "'");
}

int RunImportModel(const std::vector<std::string>& rawArgs, std::ostream& out,
                   std::ostream& err) {
  const Arguments args(rawArgs, {.valueOptions = {kOutputOption, kDatabaseOption}, .switches = {}});
  if (args.positional().size() != 1) throw UsageError("import-model takes one file");
  const std::string& path = args.positional()[0];
  const Importer importer = ImporterFor(path);
  if (const std::optional<std::string> output = args.value(kOutputOption)) {
    if (FileKindOf(*output) == FileKind::Project) {
      throw QuorrelError("project files (.qproj) cannot be written yet; give -o MODEL.par");
    }
    if (FileKindOf(*output) != FileKind::Model) {
      throw UsageError("-o takes a model parameter file (.par), not '" + *output + "'");
    }
  }
  const ImportedModel imported = importer(path, args);
  for (const std::string& note : imported.notes) err << "quorrel-cli: " << path << ": " << note << '\n';
  // A new model starts with the settings' defaults: no background, no resolution.
  DeliverOutput(ModelFileText(imported.model, CalcSettings()), args, out);
  return kSuccess;
}

}  // namespace

const Command kImportModelCommand{
    "import-model", "the sample model that an ORSO file's header describes, as a model file",
    "usage: quorrel-cli import-model FILE.ort [-o MODEL.par] [--database PATH]\n"
    "Builds the model that the header of FILE.ort describes in the ORSO model language\n"
    "(data_source: sample: model: stack: ...) and writes it as a model parameter file to\n"
    "MODEL.par, or to standard output without -o. The stack's first item becomes \"air\", its\n"
    "last \"bulk\"; one repeated block of at most 99 layers repeated at most 99 times becomes\n"
    "multiple layers, other repetitions are written out as independent layers. Densities come\n"
    "from the header, or by name or formula from the material table (the shipped table\n"
    "unless --database gives another), for the probe the header names. What a model cannot\n"
    "hold is refused with a message naming the item and its line. Project files (.qproj)\n"
    "cannot be written yet.\n"
    "Exit status: 0 success, 1 unreadable file or a model that cannot be built, 2 usage error.\n",
    RunImportModel};

}  // namespace quorrel::cli
