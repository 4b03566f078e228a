#pragma once
// "Sample posterior": the entries to sample with their bounds, the sampler's options, the
// run's progress with its estimated end and a Stop button. The sampling runs on a worker; the
// posterior's window and the bands follow when it ends.

#include <memory>
#include <thread>
#include <vector>

#include <QDialog>

#include "fit/entry_setup.h"
#include "model/calc_settings.h"
#include "shell/fit_session.h"
#include "shell/posterior_bands.h"
#include "shell/sampling_session.h"
#include "ui/fit/latest_value.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTableWidgetItem;

namespace quorrel {

class HelpViewer;
class Prompts;
class SharedFileDialogs;
class TfrmPosterior;

class TSamplingDlg : public QDialog {
  Q_OBJECT

 public:
  TSamplingDlg(Prompts& prompts, HelpViewer& help, SharedFileDialogs& files,
               QWidget* parent = nullptr);
  ~TSamplingDlg() override;

  //! Shows the dialog on the model and its measurements, with the ticks and bounds of the
  //! fit dialog's last setup and the fit's options. Throws what building the model's layer
  //! stack throws, before anything is shown.
  void present(const SampleModel& model, std::vector<FitData> measurements,
               const std::vector<EntrySetup>& setup, const FitSettings& fit,
               const CalcSettings& settings);

  //! The controls, for tests and the screenshots.
  QTableWidget& entries() { return *table_; }
  QPushButton& sampleButton() { return *btnSample; }
  QPushButton& stopButton() { return *btnStop; }
  QSpinBox& walkers() { return *edtWalkers; }
  QSpinBox& burnIn() { return *edtBurnIn; }
  QSpinBox& steps() { return *edtSteps; }
  QSpinBox& thinning() { return *edtThinning; }
  QSpinBox& seed() { return *edtSeed; }
  bool running() const { return worker_.joinable(); }
  //! The window of the last posterior; none before the first run ended.
  TfrmPosterior* posteriorWindow() const { return posterior_; }

 signals:
  //! A run ended with a posterior: its bands for the reflectivity and the profile windows.
  void bandsReady(const quorrel::PosteriorBands& bands);
  //! A run ended with a posterior, for the project's record of it.
  void posteriorReady(const quorrel::SampledPosterior& posterior);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void showEntries();
  void entryChanged(QTableWidgetItem* item);
  void sample();
  void showProgress(const SamplingReport& report);
  void runEnded(std::shared_ptr<SampledPosterior> posterior,
                std::shared_ptr<PosteriorBands> bands, const QString& failure);
  void showState();

  Prompts& prompts_;
  HelpViewer& help_;
  SharedFileDialogs& files_;
  FitSession fit_;
  SamplingSession sampling_;
  CalcSettings settings_;
  std::thread worker_;
  LatestValue<SamplingReport> progress_;
  bool showingEntries_ = false;
  TfrmPosterior* posterior_ = nullptr;

  QTableWidget* table_;
  QSpinBox* edtWalkers;
  QSpinBox* edtBurnIn;
  QSpinBox* edtSteps;
  QSpinBox* edtThinning;
  QSpinBox* edtSeed;
  QProgressBar* progressBar_;
  QLabel* lblProgress;
  QPushButton* btnSample;
  QPushButton* btnStop;
  QPushButton* btnClose;
  QPushButton* btnHelp;
};

}  // namespace quorrel
