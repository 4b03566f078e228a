#pragma once
// Below the fit dialog's list: the bounds and the link of the entry selected in it.

#include <functional>
#include <string>

#include <QWidget>

#include "fit/entry_setup.h"

class QLabel;
class QLineEdit;

namespace quorrel {

class EntrySetupEditor : public QWidget {
  Q_OBJECT

 public:
  //! `boundsEdited` and `linkEdited` return why a value was refused, or "" when it was taken.
  EntrySetupEditor(std::function<std::string(const Bounds&)> boundsEdited,
                   std::function<std::string(const std::string&)> linkEdited,
                   QWidget* parent = nullptr);

  //! Shows the selected entry's setup; nothing selected: the fields are empty and disabled.
  void showEntry(const QString& name, const EntrySetup* setup);
  //! The reason of the last refusal, shown in red until the next accepted edit.
  QString refusal() const;

 private:
  void boundsFinished();
  void linkFinished();

  std::function<std::string(const Bounds&)> boundsEdited_;
  std::function<std::string(const std::string&)> linkEdited_;
  QLabel* lblEntry;
  QLineEdit* edtLower;
  QLineEdit* edtUpper;
  QLineEdit* edtLink;
  QLabel* lblRefusal;
};

//! "  [LO, HI]" and "  = LINK" after an entry's label: what the list shows of its setup.
QString SetupSuffix(const EntrySetup& setup);

}  // namespace quorrel
