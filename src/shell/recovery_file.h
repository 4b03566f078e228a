#pragma once
// The recovery file: the model being worked on, written while it has unsaved changes, so that
// a run that ends without closing properly loses nothing.

#include <optional>
#include <string>
#include <string_view>

#include "model/calc_settings.h"
#include "model/editor_state.h"
#include "model/sample_model.h"

namespace quorrel {

//! Everything a restored run needs: the whole model (hidden rows and the function's choices
//! included), the editor's state, every calculation setting, and the files it came from.
struct RecoveredWork {
  SampleModel model;
  EditorState editor;
  CalcSettings settings;
  std::string modelFile;  //!< the model file it was loaded from or saved to; empty for none
  std::string dataFile;   //!< the measured data file loaded; empty for none
  std::string savedAt;    //!< when the recovery file was written, as the user reads it
  std::string projectFile;  //!< the project it was opened from or saved to; empty for none
  std::string project;      //!< the project's text with its measurements; empty for none
};

//! The recovery file's text: one "key value" line per item, cells and texts escaped so that
//! any text survives, numbers with all their digits.
std::string RecoveryText(const RecoveredWork& work);

//! Reads a recovery text; nothing when it is not one or is damaged. Never throws on the
//! content. A user function that was read is compiled.
std::optional<RecoveredWork> ReadRecoveryText(std::string_view text);

}  // namespace quorrel
