// Pictures of the plot windows for the documentation, made from the multilayer example: the
// measured points with their error bars, the model, the legend, a fitting region and the
// residuals, in the views R and R·Qz^4, and zoomed in on the error bars; and from the
// spin-valve example: the four spin channels, their asymmetry, and the profile with the
// magnetic density and the angle.
// Usage: quorrel-plot-screenshots EXAMPLES_FOLDER OUTPUT_FOLDER

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>

#include "calc/magnetic_profile.h"
#include "calc/profile_run.h"
#include "calc/reflectivity_run.h"
#include "calc/spin_flip_model.h"
#include "files/layer_table_file.h"
#include "files/measured_data_file.h"
#include "files/model_file_reader.h"
#include "model/editor_state.h"
#include "ui/platform/headless_prompts.h"
#include "ui/plot/profile_window.h"
#include "ui/plot/reflectivity_window.h"

namespace {

using namespace quorrel;

//! A Ctrl+click at the measured point nearest to `qz`, as a user chooses a bound.
void CtrlClickAt(TfrmPlot& window, double qz, Qt::MouseButton button) {
  QWidget* area = window.graph().findChild<QWidget*>("plotArea");
  const QPoint at = window.graph().dataToPixel({qz, 1e-3}).value().toPoint();
  QMouseEvent release(QEvent::MouseButtonRelease, at, area->mapToGlobal(at), button, Qt::NoButton,
                      Qt::ControlModifier);
  QApplication::sendEvent(area, &release);
}

bool Save(QWidget& widget, const QString& file) {
  QCoreApplication::processEvents();
  const bool saved = widget.grab().save(file, "PNG");
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
  return saved;
}

class SkipBadLines : public LoadQuestions {
 public:
  LoadAnswer abortOrIgnore(const std::string&) override { return LoadAnswer::Ignore; }
};

//! The spin-valve example: its four channels, their asymmetry, and its profile with the
//! magnetic density and the angle.
bool SpinFlipPictures(const std::string& examples, const QDir& output) {
  SampleModel model;
  try {
    model = ModelOfLayerTable(ReadLayerTable(examples + "/spin_valve.layers").stack);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return false;
  }
  // As the settings dialog sets them: magnetization with spin flip, in a guide field in the
  // sample plane, and a resolution of a few per cent.
  CalcSettings settings;
  settings.edtminQ = 0.005;
  settings.edtMaxQ = 0.15;
  settings.edtNumPoints = 400;
  settings.cbMagnet = true;
  settings.spinFlip = {.enabled = true, .aguide = 90, .field = 0};
  settings.cbVSelector = true;
  settings.edtConstantRes = 0.0002;
  settings.edtDistribution = 3;
  settings.cbUserZ = true;
  settings.edtMinZ = -20;
  settings.edtMaxZ = 230;
  settings.edtNumPointsZ = 500;

  HeadlessPrompts prompts;
  MeasuredData none;
  TfrmPlot plot(none, prompts);
  plot.resize(760, 560);
  plot.show();
  TfrmProfile profile;
  profile.resize(760, 560);
  profile.show();
  try {
    plot.showReflectivity(RunReflectivityCalculation(model, settings, none));
    const ProfileCurve nuclear = RunProfileCalculation(model, settings);
    profile.showProfile(nuclear);
    profile.showMagneticProfile(MagneticProfileOf(SpinFlipStackOfModel(model, 90, 0), nuclear.x));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return false;
  }
  bool ok = Save(plot, output.filePath("reflectivity_spin_flip.png"));
  plot.setPlotChoices({.view = ReflectivityView::SpinAsymmetry});
  ok = Save(plot, output.filePath("reflectivity_spin_asymmetry.png")) && ok;
  ok = Save(profile, output.filePath("profile_spin_flip.png")) && ok;
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: quorrel-plot-screenshots EXAMPLES_FOLDER OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string examples = argv[1];
  const QDir output(QString::fromLocal8Bit(argv[2]));
  QDir().mkpath(output.path());

  SampleModel model;
  CalcSettings settings;
  EditorState editor;
  MeasuredData data;
  SkipBadLines questions;
  try {
    ReadModelFile(examples + "/multilayer.par", model, settings, editor);
    LoadMeasuredData(examples + "/multilayer_measured.dat", data, questions);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  // As after a data load: the curve at the measured points.
  settings.cbUserRange = false;
  HeadlessPrompts prompts;
  TfrmPlot window(data, prompts);
  window.resize(760, 560);
  window.show();
  window.showMeasuredData();
  window.setFresnelMedia(FresnelMediaOf(model));
  window.showReflectivity(RunReflectivityCalculation(model, settings, data));
  window.setPlotChoices({.view = ReflectivityView::R, .residuals = true});
  CtrlClickAt(window, 0.03, Qt::LeftButton);
  CtrlClickAt(window, 0.16, Qt::RightButton);

  bool ok = Save(window, output.filePath("reflectivity_window.png"));
  window.setPlotChoices({.view = ReflectivityView::RQz4, .residuals = true});
  ok = Save(window, output.filePath("reflectivity_rqz4.png")) && ok;
  // Zoomed in on the high-Qz points, where the error bars reach beyond the markers.
  window.setPlotChoices({.view = ReflectivityView::R, .residuals = true});
  window.graph().setAxisLimits(GraphAxis::X, {0.15, 0.2});
  window.graph().setAxisLimits(GraphAxis::Y, {6e-6, 6e-5});
  ok = Save(window, output.filePath("reflectivity_error_bars.png")) && ok;
  ok = SpinFlipPictures(examples, output) && ok;
  return ok ? 0 : 1;
}
