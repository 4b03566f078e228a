#pragma once
// Where the help opens: the page of a context number or of a topic identifier.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

//! The contents page that "&Contents" opens.
inline constexpr const char* kHelpContentsPage = "contents.html";

//! The help contexts of the windows and commands.
namespace help_context {
inline constexpr int kMainWindow = 10;
inline constexpr int kFileMenu = 11;
inline constexpr int kLoadData = 12;
inline constexpr int kLoadModel = 13;
inline constexpr int kSaveReflectivity = 14;
inline constexpr int kPrint = 15;
inline constexpr int kImportDialog = 16;
inline constexpr int kDataSetChoice = 17;
inline constexpr int kExit = 19;
inline constexpr int kModelEditor = 40;
inline constexpr int kSampleTypes = 41;
inline constexpr int kProfileWindow = 70;
inline constexpr int kReflectivityWindow = 80;
inline constexpr int kSettingsDialog = 330;
inline constexpr int kFunctionDialog = 340;
inline constexpr int kFitDialog = 350;
inline constexpr int kPosterior = 351;
inline constexpr int kMaterialEditor = 360;
inline constexpr int kTutorial = 380;
inline constexpr int kFileFormats = 390;
inline constexpr int kCommandLineTool = 391;
inline constexpr int kCrashRecovery = 392;
inline constexpr int kAboutBox = 393;
inline constexpr int kTipsWindow = 394;
}  // namespace help_context

//! The page, with its anchor where the context is a part of a page; nothing for a context
//! that has no page.
std::optional<std::string> HelpPageOfContext(int context);

//! Every context number that has a page, in ascending order.
std::vector<int> HelpContexts();

//! The page of a topic identifier ("Index", "settingsdialog", ...), matched without regard to
//! case; nothing for an unknown topic.
std::optional<std::string> HelpPageOfTopic(std::string_view topic);

//! Every topic identifier that has a page.
std::vector<std::string> HelpTopics();

}  // namespace quorrel
