#pragma once
// For the destructor of a window whose fields report edits to it.

class QWidget;

namespace quorrel {

//! Takes the focus from the window's field that has it, without that field reporting an edit.
//! Otherwise the field loses it while QWidget's destructor runs, after the window's own, and
//! its report reaches a half-destroyed window.
void ReleaseFocusQuietly(QWidget& window);

}  // namespace quorrel
