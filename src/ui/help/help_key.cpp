#include "ui/help/help_key.h"

#include <QShortcut>
#include <QWidget>

#include "ui/help/help_viewer.h"

namespace quorrel {

void BindHelpKey(QWidget& window, HelpViewer& help, int context) {
  auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &window);
  QObject::connect(key, &QShortcut::activated, &window,
                   [&help, context] { help.showContext(context); });
}

}  // namespace quorrel
