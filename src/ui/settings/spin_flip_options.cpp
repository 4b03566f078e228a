#include "ui/settings/spin_flip_options.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScopedValueRollback>

namespace quorrel {

SpinFlipOptions::SpinFlipOptions(SpinFlipSettings& settings,
                                 std::function<void(const QString&)> inform, QWidget* parent)
    : QWidget(parent), settings_(settings) {
  setObjectName("spinFlipOptions");
  cbSpinFlip = new QCheckBox("spin &flip");
  cbSpinFlip->setObjectName("cbSpinFlip");
  cbSpinFlip->setToolTip("the four spin channels, from each layer's angle theta(mag)");
  lblAguide = new QLabel("AGUIDE");
  lblField = new QLabel("H");
  edtAguide = new TRealEdit;
  edtAguide->setObjectName("edtAguide");
  edtAguide->setToolTip("angle of the guide field to the surface normal, in degrees");
  edtField = new TRealEdit;
  edtField->setObjectName("edtField");
  edtField->setToolTip("applied field at the sample, in tesla");
  for (TRealEdit* field : {edtAguide, edtField}) {
    field->setInform(inform);
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance("-0.00000E-00") + 16);
  }

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(20, 0, 0, 0);
  layout->addWidget(cbSpinFlip);
  layout->addSpacing(12);
  layout->addWidget(lblAguide);
  layout->addWidget(edtAguide);
  layout->addWidget(new QLabel("°"));
  layout->addSpacing(12);
  layout->addWidget(lblField);
  layout->addWidget(edtField);
  layout->addWidget(new QLabel("T"));
  layout->addStretch();

  connect(cbSpinFlip, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    settings_.enabled = on;
    emit edited();
  });
  connect(edtAguide, &NumericEdit::valueEdited, this, [this] {
    if (showing_) return;
    settings_.aguide = edtAguide->value();
    emit edited();
  });
  connect(edtField, &NumericEdit::valueEdited, this, [this] {
    if (showing_) return;
    settings_.field = edtField->value();
    emit edited();
  });
  refresh();
  // Hidden before it joins the dialog's layout, which would otherwise keep room for it.
  applyView(false, false);
}

void SpinFlipOptions::refresh() {
  const QScopedValueRollback<bool> guard(showing_, true);
  cbSpinFlip->setChecked(settings_.enabled);
  edtAguide->setValue(settings_.aguide);
  edtField->setValue(settings_.field);
}

void SpinFlipOptions::applyView(bool options, bool fields) {
  setVisible(options);
  for (QWidget* widget : findChildren<QWidget*>()) {
    if (widget != cbSpinFlip) widget->setVisible(fields);
  }
}

}  // namespace quorrel
