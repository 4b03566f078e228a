#include "ui/widgets/quiet_focus_release.h"

#include <QSignalBlocker>
#include <QWidget>

namespace quorrel {

void ReleaseFocusQuietly(QWidget& window) {
  QWidget* focused = window.focusWidget();
  if (focused == nullptr || !window.isAncestorOf(focused)) return;
  const QSignalBlocker quiet(focused);
  focused->clearFocus();
}

}  // namespace quorrel
