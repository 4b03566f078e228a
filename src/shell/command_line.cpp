#include "shell/command_line.h"

#include "files/file_kind.h"

namespace quorrel {

StartupSwitches ReadCommandLine(const std::vector<std::string>& arguments) {
  StartupSwitches switches;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "nosplash") {
      switches.showSplash = false;
    } else if (argument == "nodatabase") {
      switches.loadMaterialTable = false;
    } else if (argument == "--screenshot" || argument == "--print-pdf") {
      if (i + 1 == arguments.size()) {
        switches.error = argument + " needs the name of the file to write";
      } else {
        (argument == "--screenshot" ? switches.screenshot : switches.printPdf) = arguments[++i];
      }
    } else if (FileKindOf(argument) == FileKind::Model ||
               FileKindOf(argument) == FileKind::LayerTable) {
      switches.modelFile = argument;
    } else if (FileKindOf(argument) == FileKind::Data || FileKindOf(argument) == FileKind::Orso) {
      switches.dataFile = argument;
    } else if (FileKindOf(argument) == FileKind::Project) {
      switches.projectFile = argument;
    }
  }
  return switches;
}

}  // namespace quorrel
