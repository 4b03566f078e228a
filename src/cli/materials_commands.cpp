// quorrel-cli sld and materials: the material table from the shell.

#include <filesystem>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/table_option.h"
#include "database/material_lists.h"
#include "database/material_lookup.h"
#include "database/material_sld.h"
#include "database/material_table.h"
#include "model/sample_model.h"

namespace quorrel::cli {

namespace {

//! The kind and list position of the first material with this name, elements first.
std::pair<MaterialKind, int> FindMaterial(const std::filesystem::path& path,
                                          const std::string& name) {
  MaterialTable table;
  table.open(path, TableAccess::ReadOnly);
  for (MaterialKind kind : {MaterialKind::Element, MaterialKind::Compound}) {
    const std::vector<StoredMaterial> materials = table.list(kind);
    for (std::size_t i = 0; i < materials.size(); ++i) {
      if (materials[i].record.name == name) return {kind, static_cast<int>(i)};
    }
  }
  throw QuorrelError("No material named '" + name + "' in " + path.string());
}

int RunSld(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream&) {
  const Arguments args(rawArgs, {.valueOptions = {kDatabaseOption}, .switches = {"--xray"}});
  if (args.positional().size() != 1) throw UsageError("sld takes one material name");
  const std::filesystem::path path = TablePath(args);
  const auto [kind, position] = FindMaterial(path, args.positional()[0]);
  // The lookup writes into a grid row; the printed texts are that row's cells.
  TextGrid row(kGridColumns, 1);
  try {
    LookUpMaterial(path, kind, position,
                   args.has("--xray") ? Radiation::Xrays : Radiation::Neutrons, row, 0);
  } catch (const MaterialValueError& error) {
    throw QuorrelError(args.positional()[0] + ", field '" + error.field() + "': " + error.what());
  }
  out << row.cell(0, kColLabel) << '\t' << row.cell(0, kColRho) << '\t'
      << row.cell(0, kColImRho) << '\n';
  return kSuccess;
}

int RunMaterials(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err) {
  const Arguments args(rawArgs, {.valueOptions = {kDatabaseOption}, .switches = {"--compounds"}});
  if (!args.positional().empty()) throw UsageError("materials takes no names");
  const MaterialLists lists = LoadMaterialLists(TablePath(args));
  if (lists.failure) {
    err << "quorrel-cli: " << *lists.failure << "\n(" << lists.reason << ")\n";
    return kFailure;
  }
  for (const std::string& caption : args.has("--compounds") ? lists.compounds : lists.elements) {
    out << caption << '\n';
  }
  return kSuccess;
}

}  // namespace

const Command kSldCommand{
    "sld", "a material's rho and Im(rho) from the material table",
    "usage: quorrel-cli sld NAME [--xray] [--database PATH]\n"
    "Prints the material's name, rho and Im(rho) in 1/A^2, tab-separated, as the model\n"
    "editor writes them into a layer row: neutron values, or x-ray values at 8047 eV with\n"
    "--xray. NAME is the record's name (elements are searched first). The table is\n"
    "the table shipped with the program unless --database gives another.\n",
    RunSld};

const Command kMaterialsCommand{
    "materials", "the elements or compounds of the material table",
    "usage: quorrel-cli materials [--compounds] [--database PATH]\n"
    "Lists the elements by Z, or with --compounds the compounds by name, one caption a line\n"
    "as the material menus show them (\"* \" before a commented material). The table is\n"
    "the table shipped with the program unless --database gives another.\n",
    RunMaterials};

}  // namespace quorrel::cli
