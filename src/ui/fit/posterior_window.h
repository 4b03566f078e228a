#pragma once
// The window of a sampled posterior: every value's median with its errors, 95 % interval,
// autocorrelation time and effective samples, the acceptance and warnings, and the corner
// plot, which saves as a picture; the chain saves as a chain file.

#include <optional>

#include <QWidget>

#include "shell/sampling_session.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace quorrel {

class CornerPlot;
class Prompts;
class SharedFileDialogs;

class TfrmPosterior : public QWidget {
  Q_OBJECT

 public:
  TfrmPosterior(Prompts& prompts, SharedFileDialogs& files, QWidget* parent = nullptr);
  ~TfrmPosterior() override;

  void showPosterior(const SampledPosterior& posterior);

  QTableWidget& summary() { return *table_; }
  CornerPlot& cornerPlot() { return *corner_; }
  QString notes() const;

 private:
  void savePicture();
  void saveChain();

  Prompts& prompts_;
  SharedFileDialogs& files_;
  std::optional<SampledPosterior> posterior_;
  QTableWidget* table_;
  QLabel* lblNotes;
  CornerPlot* corner_;
  QPushButton* btnPicture;
  QPushButton* btnChain;
};

}  // namespace quorrel
