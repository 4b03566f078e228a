#pragma once
// Reading the model parameter file (.par) into the model editor and the settings, step by
// step through the same operations as a user's clicks.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/calc_settings.h"
#include "model/editor_state.h"
#include "model/sample_model.h"

namespace quorrel {

//! The information text when reading stops early ("\n" marks its line breaks). For a file of
//! the older layout, which has no background and resolution lines, it is the normal outcome.
extern const char* const kOlderModelFileMessage;

//! What a read leaves besides the model and the settings.
struct ModelFileOutcome {
  //! kOlderModelFileMessage when reading stopped early; what was read before stays.
  std::optional<std::string> message;
  //! The line (from 1) that did not fit when reading stopped; one past the last line when
  //! the file ended early.
  std::optional<int> stopLine;
  //! Whether the sample part (everything before the background line) was read whole.
  bool sampleComplete = false;
  //! Whether a user-defined function was read; it has then been compiled.
  bool userFunctionRead = false;
  //! The parser's message when that compilation failed.
  std::optional<std::string> compileError;
};

//! Reads the text of a model file. Never throws on the content: any line that does not fit
//! stops the reading with the message. A user-defined function that was read is compiled
//! into the model, also when reading stopped later in the file.
ModelFileOutcome ReadModelText(std::string_view text, SampleModel& model, CalcSettings& settings,
                               EditorState& editor);

//! Reads the file at `path`; FileError names it when it cannot be read (nothing changes then).
ModelFileOutcome ReadModelFile(const std::filesystem::path& path, SampleModel& model,
                               CalcSettings& settings, EditorState& editor);

//! The model editor's caption after a read or a save: "Model - " and the file name.
std::string ModelCaption(const std::filesystem::path& path);

}  // namespace quorrel
