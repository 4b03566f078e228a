#pragma once
// F1 in a window or dialog: its help page.

class QWidget;

namespace quorrel {

class HelpViewer;

//! F1 pressed anywhere in `window` opens the page of help `context` (a help_context number).
void BindHelpKey(QWidget& window, HelpViewer& help, int context);

}  // namespace quorrel
