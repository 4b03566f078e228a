#pragma once
// Where the help opens: the page of a context number or of a topic identifier.

#include <optional>
#include <string>
#include <string_view>

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
inline constexpr int kExit = 19;
inline constexpr int kModelEditor = 40;
inline constexpr int kProfileWindow = 70;
inline constexpr int kReflectivityWindow = 80;
inline constexpr int kSettingsDialog = 330;
inline constexpr int kFunctionDialog = 340;
inline constexpr int kFitDialog = 350;
inline constexpr int kTutorial = 380;
}  // namespace help_context

//! The page, with its anchor where the context is a part of a page; nothing for a context
//! that has no page.
std::optional<std::string> HelpPageOfContext(int context);

//! The page of a topic identifier ("Index", "settingsdialog", ...), matched without regard to
//! case; nothing for an unknown topic.
std::optional<std::string> HelpPageOfTopic(std::string_view topic);

}  // namespace quorrel
