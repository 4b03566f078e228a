#include "ui/widgets/numeric_edit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace quorrel {

NumericEdit::NumericEdit(QWidget* parent) : QLineEdit(parent) {
  // Every change goes through the keystroke rule: no drops, no context menu paste.
  setAcceptDrops(false);
  setContextMenuPolicy(Qt::NoContextMenu);
}

void NumericEdit::showField() {
  const QString shown = QString::fromStdString(fieldText());
  if (text() != shown) setText(shown);
  QPalette colours = palette();
  colours.setColor(QPalette::Text,
                   fieldColour() == FieldColour::Warning ? QColor(Qt::red) : QColor(Qt::black));
  setPalette(colours);
}

bool NumericEdit::apply(EditKey key, std::string_view typed) {
  const FieldEdit state{text().toStdString(),
                        static_cast<std::size_t>(hasSelectedText() ? selectionStart()
                                                                   : cursorPosition()),
                        static_cast<std::size_t>(selectedText().size())};
  const std::optional<FieldEdit> edited = keystroke(state, key, typed);
  if (!edited) return false;
  takeText(edited->text);
  showField();
  setCursorPosition(static_cast<int>(edited->selectionStart));
  emit valueEdited();
  return true;
}

void NumericEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    copy();
  } else if (event->matches(QKeySequence::Cut)) {
    const QString selection = selectedText();
    if (!selection.isEmpty() && apply(EditKey::Cut)) {
      QGuiApplication::clipboard()->setText(selection);
    }
  } else if (event->matches(QKeySequence::Paste)) {
    const QString pasted = QGuiApplication::clipboard()->text();
    if (pasted.isEmpty()) {
      if (inform_) inform_(QString::fromUtf8(kNoClipboardText));
    } else {
      apply(EditKey::Paste, pasted.toStdString());
    }
  } else if (event->key() == Qt::Key_Backspace) {
    apply(EditKey::Backspace);
  } else if (event->key() == Qt::Key_Delete) {
    apply(EditKey::Delete);
  } else if (event->text().size() == 1 && event->text().front().isPrint() &&
             !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    const QChar typed = event->text().front();
    if (typed.unicode() < 128 && typable(static_cast<char>(typed.unicode()))) {
      const char c = static_cast<char>(typed.unicode());
      apply(EditKey::Character, std::string_view(&c, 1));
    }
  } else if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
    // Undo could bring back a text that the rule refused.
  } else {
    // Moving the caret, selecting, Tab and Return work as in any line edit; any other key
    // that changes the text must leave a text the field accepts.
    const QString before = text();
    QLineEdit::keyPressEvent(event);
    if (text() != before) {
      if (accepts(text().toStdString())) {
        takeText(text().toStdString());
        showField();
        emit valueEdited();
      } else {
        setText(before);
      }
    }
    return;
  }
  event->accept();
}

void NumericEdit::focusInEvent(QFocusEvent* event) {
  enterField();
  showField();
  QLineEdit::focusInEvent(event);
}

void NumericEdit::focusOutEvent(QFocusEvent* event) {
  const std::string before = fieldText();
  leaveField();
  showField();
  if (fieldText() != before || fieldColour() == FieldColour::Warning) emit valueEdited();
  QLineEdit::focusOutEvent(event);
}

}  // namespace quorrel
