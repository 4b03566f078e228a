#include "ui/fit/entry_setup_editor.h"

#include <cmath>
#include <limits>

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "common/number_conversion.h"
#include "common/number_format.h"

namespace quorrel {

namespace {

QString BoundText(double bound) {
  return std::isfinite(bound) ? QString::fromStdString(FormatGeneral(bound)) : QString();
}

//! A bound typed in the user's or the point notation; empty is no bound.
std::optional<double> ReadBound(const QString& text, double none) {
  const std::string typed = text.trimmed().toStdString();
  if (typed.empty()) return none;
  std::optional<double> value = LocaleToDouble(typed);
  if (!value) value = LocaleToDouble(typed, '.');
  return value;
}

}  // namespace

EntrySetupEditor::EntrySetupEditor(std::function<std::string(const Bounds&)> boundsEdited,
                                   std::function<std::string(const std::string&)> linkEdited,
                                   QWidget* parent)
    : QWidget(parent),
      boundsEdited_(std::move(boundsEdited)),
      linkEdited_(std::move(linkEdited)) {
  lblEntry = new QLabel;
  edtLower = new QLineEdit;
  edtLower->setObjectName("edtLower");
  edtLower->setPlaceholderText("no lower bound");
  edtUpper = new QLineEdit;
  edtUpper->setObjectName("edtUpper");
  edtUpper->setPlaceholderText("no upper bound");
  edtLink = new QLineEdit;
  edtLink->setObjectName("edtLink");
  edtLink->setPlaceholderText("not linked (e.g. 2 * d_1)");
  edtLink->setToolTip("An expression of other entries, by name (d_1, rho_bulk, scale_1) or by "
                      "number (p12); a linked entry follows it and is not varied.");
  lblRefusal = new QLabel;
  lblRefusal->setObjectName("lblRefusal");
  lblRefusal->setStyleSheet("color: #b00020;");
  lblRefusal->setWordWrap(true);
  lblRefusal->hide();
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(lblEntry, 0, 0, 1, 4);
  layout->addWidget(new QLabel("bounds:"), 1, 0);
  layout->addWidget(edtLower, 1, 1);
  layout->addWidget(new QLabel("to"), 1, 2);
  layout->addWidget(edtUpper, 1, 3);
  layout->addWidget(new QLabel("link:"), 2, 0);
  layout->addWidget(edtLink, 2, 1, 1, 3);
  layout->addWidget(lblRefusal, 3, 0, 1, 4);
  connect(edtLower, &QLineEdit::editingFinished, this, &EntrySetupEditor::boundsFinished);
  connect(edtUpper, &QLineEdit::editingFinished, this, &EntrySetupEditor::boundsFinished);
  connect(edtLink, &QLineEdit::editingFinished, this, &EntrySetupEditor::linkFinished);
  showEntry({}, nullptr);
}

void EntrySetupEditor::showEntry(const QString& name, const EntrySetup* setup) {
  const bool shown = !name.isEmpty();
  lblEntry->setText(shown ? "bounds and link of " + name : "select an entry for its bounds and link");
  for (QLineEdit* edit : {edtLower, edtUpper, edtLink}) edit->setEnabled(shown);
  const EntrySetup none;
  const EntrySetup& s = setup != nullptr ? *setup : none;
  edtLower->setText(BoundText(s.bounds.lower));
  edtUpper->setText(BoundText(s.bounds.upper));
  edtLink->setText(QString::fromStdString(s.link));
}

QString EntrySetupEditor::refusal() const { return lblRefusal->isVisible() ? lblRefusal->text() : QString(); }

void EntrySetupEditor::boundsFinished() {
  const double inf = std::numeric_limits<double>::infinity();
  const std::optional<double> lower = ReadBound(edtLower->text(), -inf);
  const std::optional<double> upper = ReadBound(edtUpper->text(), inf);
  std::string refused;
  if (!lower || !upper) {
    refused = "a bound is a number, or empty for none";
  } else {
    refused = boundsEdited_({*lower, *upper});
  }
  lblRefusal->setText(QString::fromStdString(refused));
  lblRefusal->setVisible(!refused.empty());
}

void EntrySetupEditor::linkFinished() {
  const std::string refused = linkEdited_(edtLink->text().toStdString());
  lblRefusal->setText(QString::fromStdString(refused));
  lblRefusal->setVisible(!refused.empty());
}

QString SetupSuffix(const EntrySetup& setup) {
  QString suffix;
  if (!setup.bounds.unbounded()) {
    suffix += "   [" + BoundText(setup.bounds.lower) + ", " + BoundText(setup.bounds.upper) + "]";
  }
  if (!setup.link.empty()) suffix += "   = " + QString::fromStdString(setup.link);
  return suffix;
}

}  // namespace quorrel
