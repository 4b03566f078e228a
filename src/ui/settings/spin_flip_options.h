#pragma once
// The spin-flip options below "include magnetization": the switch "spin flip" and, beside it
// while it is on, the guide field's angle AGUIDE and the applied field H.

#include <functional>

#include <QWidget>

#include "model/spin_flip_settings.h"
#include "ui/widgets/numeric_edit.h"

class QCheckBox;
class QLabel;

namespace quorrel {

class SpinFlipOptions : public QWidget {
  Q_OBJECT

 public:
  //! Edits go into `settings` at once; `inform` shows the fields' clipboard message.
  SpinFlipOptions(SpinFlipSettings& settings, std::function<void(const QString&)> inform,
                  QWidget* parent = nullptr);

  //! Shows the values of the settings, without reporting them as edits.
  void refresh();
  //! The switch (`options`) and the two fields follow the magnetization and the switch.
  void applyView(bool options, bool fields);

 signals:
  //! The user changed the switch or a field.
  void edited();

 private:
  SpinFlipSettings& settings_;
  bool showing_ = false;
  QCheckBox* cbSpinFlip = nullptr;
  QLabel* lblAguide = nullptr;
  TRealEdit* edtAguide = nullptr;
  QLabel* lblField = nullptr;
  TRealEdit* edtField = nullptr;
};

}  // namespace quorrel
