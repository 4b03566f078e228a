#pragma once
// The fit dialog "Fit It": the parameters to vary, the chi-square, the run controls and the
// options. It shows a FitSession and runs its fit on a worker thread, so the program stays
// responsive and "&Stop" or closing the dialog take effect after the current trial.

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <QDialog>

#include "calc/curves.h"
#include "shell/fit_session.h"
#include "ui/fit/latest_value.h"
#include "ui/widgets/numeric_edit.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace quorrel {

class HelpViewer;
class Prompts;

class TFitDlg : public QDialog {
  Q_OBJECT

 public:
  TFitDlg(FitSession& session, Prompts& prompts, HelpViewer& help, QWidget* parent = nullptr);
  ~TFitDlg() override;

  //! Opens the dialog on the model and the measured points and returns how it was closed.
  //! Throws what building the model's layer stack throws, before anything is shown.
  DialogResult run(const SampleModel& model, FitData measured);
  //! The same for several measurements fitted together, with the ticks, bounds and links of
  //! `setup` (a project's, kept between openings), in the guide field `guide` for
  //! measurements of a spin channel.
  DialogResult run(const SampleModel& model, std::vector<FitData> measurements,
                   const std::vector<EntrySetup>& setup, const SpinFlipSettings& guide = {});
  //! Opens the dialog without waiting (for tests and for run()).
  void present(const SampleModel& model, FitData measured);
  void present(const SampleModel& model, std::vector<FitData> measurements,
               const std::vector<EntrySetup>& setup, const SpinFlipSettings& guide = {});

  //! The options as the controls show them, from the session (after the saved ones were read).
  void showOptions();

 signals:
  //! "index : counter" of the running search.
  void statusText(const QString& text);
  //! With "display graph after every iteration": the curve of the newest evaluation.
  void fitCurve(const quorrel::ReflCurve& curve);
  //! A run ended with this outcome.
  void runFinished(const quorrel::FitOutcome& outcome);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void reject() override;

 private:
  QWidget* buildParametersPage();
  QWidget* buildOptionsPage();
  void doIt();
  void runEnded(const DoItResult& result, const QString& failure);
  void okClicked();
  void showState();
  void showEntries(const std::vector<FitParameter>& entries);
  //! The bounds and link of the list's current entry below the list.
  void showSelectedSetup();
  //! The dialog closes once the session has closed (after OK or Cancel, also at a run's end).
  void closeIfDone();

  FitSession& session_;
  Prompts& prompts_;
  HelpViewer& help_;
  std::thread worker_;
  bool showingEntries_ = false;
  LatestValue<std::string> chiSquare_;
  LatestValue<std::string> trial_;
  LatestValue<std::vector<FitParameter>> entries_;
  LatestValue<ReflCurve> curve_;

  QTabWidget* pages_;
  QListWidget* CheckListBox1;
  class EntrySetupEditor* entrySetup_;
  QLabel* lblChisq;
  QLabel* lblconverged;
  QPushButton* btn1iter;
  QPushButton* btnStop;
  QRadioButton* RBchisq;
  QRadioButton* RBfulliter;
  TRealEdit* edtTolerance;
  QRadioButton* RBSearch;
  QRadioButton* RBLevenbergMarquardt;
  QRadioButton* RBDifferentialEvolution;
  QRadioButton* RBErrors;
  QRadioButton* RBStat;
  QRadioButton* RBLog;
  QRadioButton* RBNone;
  QCheckBox* cbRsltn;
  QCheckBox* cbBackground;
  QCheckBox* cbDisplayGraph;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpBtn;
};

}  // namespace quorrel
