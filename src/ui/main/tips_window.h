#pragma once
// The tips of the day, one at a time.

#include <cstddef>

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace quorrel {

class DesktopServices;
class HelpViewer;

//! A modeless window, released when it closes.
class TfTipOfTheDay : public QDialog {
  Q_OBJECT

 public:
  //! Opens at a random tip among the first 13.
  TfTipOfTheDay(DesktopServices& desktop, HelpViewer& help, QWidget* parent = nullptr);
  //! Opens at tip `index` (from 0).
  TfTipOfTheDay(DesktopServices& desktop, HelpViewer& help, std::size_t index,
                QWidget* parent = nullptr);

  std::size_t tipIndex() const { return index_; }

 signals:
  //! Closed with "don't show this on start up again" checked.
  void expertModeChosen();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void showTip();
  void printAll();

  DesktopServices& desktop_;
  std::size_t index_;
  QLabel* lblTip;
  QCheckBox* cbDontShow;
  QPushButton* btnNext;
  QPushButton* btnClose;
  QPushButton* btnPrint;
};

}  // namespace quorrel
