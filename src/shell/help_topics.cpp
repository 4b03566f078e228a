#include "shell/help_topics.h"

#include <utility>

#include "common/text_case.h"

namespace quorrel {

namespace {

constexpr std::pair<int, const char*> kContextPages[] = {
    {help_context::kMainWindow, "main.html"},
    {help_context::kFileMenu, "file.html"},
    {help_context::kLoadData, "file.html#loaddata"},
    {help_context::kLoadModel, "file.html#loadmodel"},
    {help_context::kSaveReflectivity, "file.html#savereflectivity"},
    {help_context::kPrint, "file.html#print"},
    {help_context::kImportDialog, "import.html"},
    {help_context::kDataSetChoice, "import.html#orso"},
    {help_context::kExit, "file.html#exit"},
    {help_context::kModelEditor, "model.html"},
    {help_context::kSampleTypes, "samples.html"},
    {help_context::kProfileWindow, "profile.html"},
    {help_context::kReflectivityWindow, "reflectivity.html"},
    {help_context::kSettingsDialog, "settings.html"},
    {help_context::kFunctionDialog, "function.html"},
    {help_context::kFitDialog, "fit.html"},
    {help_context::kPosterior, "posterior.html"},
    {help_context::kMaterialEditor, "database.html#editor"},
    {help_context::kTutorial, "tutorial.html"},
    {help_context::kFileFormats, "formats.html"},
    {help_context::kCommandLineTool, "cli.html"},
    {help_context::kCrashRecovery, "recovery.html"},
    {help_context::kAboutBox, "main.html#about"},
    {help_context::kTipsWindow, "main.html#tips"},
};

constexpr std::pair<std::string_view, const char*> kTopicPages[] = {
    {"Index", "index.html"},
    {"settingsdialog", "settings.html"},
    {"fittingdialog", "fit.html"},
    {"posterior", "posterior.html"},
    {"functiondialog", "function.html"},
    {"DatabaseEditor", "database.html"},
};

}  // namespace

std::optional<std::string> HelpPageOfContext(int context) {
  for (const auto& [number, page] : kContextPages) {
    if (number == context) return page;
  }
  return std::nullopt;
}

std::vector<int> HelpContexts() {
  std::vector<int> contexts;
  for (const auto& [number, page] : kContextPages) contexts.push_back(number);
  return contexts;
}

std::optional<std::string> HelpPageOfTopic(std::string_view topic) {
  for (const auto& [name, page] : kTopicPages) {
    if (EqualIgnoringCase(name, topic)) return page;
  }
  return std::nullopt;
}

std::vector<std::string> HelpTopics() {
  std::vector<std::string> topics;
  for (const auto& [name, page] : kTopicPages) topics.emplace_back(name);
  return topics;
}

}  // namespace quorrel
