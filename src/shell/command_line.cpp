#include "shell/command_line.h"

#include "common/text_case.h"
#include "files/layer_table_file.h"

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
    } else if (EndsWithIgnoringCase(argument, ".par") || IsLayerTableName(argument)) {
      switches.modelFile = argument;
    } else if (EndsWithIgnoringCase(argument, ".dat") || EndsWithIgnoringCase(argument, ".ort")) {
      switches.dataFile = argument;
    }
  }
  return switches;
}

}  // namespace quorrel
