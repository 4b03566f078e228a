#include "ui/plot/reflectivity_window.h"

#include <cmath>

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>

#include "shell/fitting_region.h"
#include "shell/help_topics.h"
#include "ui/platform/prompts.h"
#include "ui/plot/measurement_colours.h"
#include "ui/plot/reflectivity_slots.h"

namespace quorrel {

using namespace reflectivity_slot;

namespace {

constexpr ReflectivityView kViews[] = {ReflectivityView::R, ReflectivityView::RQz4,
                                       ReflectivityView::RFresnel,
                                       ReflectivityView::SpinAsymmetry};

//! The y range of R, opened a little so that R = 1 and the lowest point sit inside the frame.
AxisLimits WithRoom(AxisLimits range) {
  if (!LimitsUsable(range, AxisScale::Logarithmic)) return range;
  return PaddedLimits(DrawableLimits(range, AxisScale::Logarithmic), AxisScale::Logarithmic);
}

}  // namespace

TfrmPlot::TfrmPlot(MeasuredData& measured, Prompts& prompts, QWidget* parent)
    : GraphWindow("Reflectivity", help_context::kReflectivityWindow, parent),
      data_(measured),
      prompts_(prompts) {
  setObjectName("TfrmPlot");
  xyGraph1->setTitle("Reflectivity");
  xyGraph1->setAxisTitle(GraphAxis::X, "Qz / Å^-1");
  xyGraph1->setAxisTitle(GraphAxis::Y, "R");
  xyGraph1->setAxisScale(GraphAxis::Y, AxisScale::Logarithmic);
  xyGraph1->setErrorCaption("Oops, strange data...");
  xyGraph1->setPlotOffGraph(true);
  xyGraph1->setCrossAtZero(true);
  xyGraph1->setStyle(kMeasured, kMeasuredStyle);
  xyGraph1->setStyle(kPlain, CurveStyle(kBlack));
  buildContextMenu();
  connect(xyGraph1, &XyGraph::mouseReleased, this, &TfrmPlot::mouseReleasedOverGraph);
}

void TfrmPlot::buildContextMenu() {
  auto* views = new QActionGroup(this);
  QList<QAction*> actions;
  for (const ReflectivityView view : kViews) {
    auto* action = new QAction(QString::fromStdString(ViewCaption(view)), views);
    action->setCheckable(true);
    action->setChecked(view == choices_.view);
    connect(action, &QAction::triggered, this, [this, view] {
      PlotChoices choices = choices_;
      choices.view = view;
      setPlotChoices(choices);
    });
    viewActions_.push_back(action);
    actions.append(action);
  }
  asymmetryAction_ = viewActions_.back();
  asymmetryAction_->setObjectName("mnuSpinAsymmetry");
  asymmetryAction_->setEnabled(false);
  auto* separator = new QAction(this);
  separator->setSeparator(true);
  residualsAction_ = new QAction("Residuals", this);
  residualsAction_->setObjectName("mnuResiduals");
  residualsAction_->setCheckable(true);
  connect(residualsAction_, &QAction::triggered, this, [this](bool on) {
    PlotChoices choices = choices_;
    choices.residuals = on;
    setPlotChoices(choices);
  });
  offsetAction_ = new QAction("Offset measurements by decades", this);
  offsetAction_->setObjectName("mnuOffsetMeasurements");
  offsetAction_->setCheckable(true);
  connect(offsetAction_, &QAction::triggered, this, &TfrmPlot::setOffsetByDecades);
  actions << separator << residualsAction_ << offsetAction_;
  xyGraph1->setContextActions(actions);
}

void TfrmPlot::showMeasuredData() {
  RedrawSuspension suspension(*xyGraph1);
  xyGraph1->freeSeries(kMeasured);
  xyGraph1->setStyle(kMeasured, kMeasuredStyle);
  // Markers of the data set before mark a region this one does not have.
  xyGraph1->freeSeries(kRegionMarkers);
  shadeFittingRegion();
  if (shownView() != ReflectivityView::SpinAsymmetry) drawMeasured();
  AxisRanges ranges;
  for (int i = 0; i < data_.count(); ++i) {
    const auto point = static_cast<std::size_t>(i);
    ranges.takePoint(data_.qz[point], data_.r[point]);
  }
  valueRange_ = {ranges.rMin, ranges.rMax};
  applyView();
  xyGraph1->setAxisLimits(GraphAxis::X, {ranges.qMin, ranges.qMax});
  showResiduals();
}

void TfrmPlot::drawMeasured() {
  // All points at once: one by one, a large data set would be sorted in point by point.
  xyGraph1->setPoints(kMeasured, data_.qz, data_.r, data_.dr);
  xyGraph1->setSeriesName(
      kMeasured, "measured: " + QFileInfo(QString::fromStdString(data_.fileName)).fileName());
}

void TfrmPlot::showReflectivity(const ReflectivityResult& result) {
  RedrawSuspension suspension(*xyGraph1);
  run_ = result;
  modelCurve_ = result.plain;
  asymmetryAction_->setEnabled(result.spinFlip.has_value());
  drawSeries();
  valueRange_ = {result.ranges.rMin, result.ranges.rMax};
  applyView();
  xyGraph1->setAxisLimits(GraphAxis::X, {result.ranges.qMin, result.ranges.qMax});
  xyGraph1->setYTitleOffset(20);
  showResiduals();
}

void TfrmPlot::drawSeries() {
  RedrawSuspension suspension(*xyGraph1);
  for (const int slot : {kSpinDown, kSpinUp, kPlain, kTransmission, kDownDown, kDownUp,
                         kUpDown, kUpUp, kSpinAsymmetry}) {
    xyGraph1->freeSeries(slot);
  }
  const auto draw = [this](int slot, const Curve& curve, SeriesStyle style, const char* name) {
    xyGraph1->setStyle(slot, style);
    xyGraph1->setPoints(slot, curve.x, curve.y);
    xyGraph1->setSeriesName(slot, name);
  };
  if (shownView() == ReflectivityView::SpinAsymmetry) {
    // Measured reflectivities are no asymmetry.
    xyGraph1->freeSeries(kMeasured);
    draw(kSpinAsymmetry, SpinAsymmetryOf(*run_.spinFlip), CurveStyle(kBlack), "spin asymmetry");
    return;
  }
  if (data_.loaded() && !xyGraph1->hasSeries(kMeasured)) {
    xyGraph1->setStyle(kMeasured, kMeasuredStyle);
    drawMeasured();
  }
  draw(kPlain, modelCurve_, CurveStyle(kBlack), "model");
  if (run_.spinFlip) {
    const SpinChannels& channels = *run_.spinFlip;
    draw(kDownDown, channels.downDown, CurveStyle(ChannelColour(SpinChannel::DownDown)), "R--");
    draw(kDownUp, channels.downUp, CurveStyle(ChannelColour(SpinChannel::DownUp)), "R-+");
    draw(kUpDown, channels.upDown, kUpDownStyle, "R+-");
    draw(kUpUp, channels.upUp, CurveStyle(ChannelColour(SpinChannel::UpUp)), "R++");
  } else if (run_.magnetic) {
    draw(kSpinDown, run_.spinDown, CurveStyle(kBlue), "model, spin down");
    draw(kSpinUp, run_.spinUp, CurveStyle(kRed), "model, spin up");
  }
  if (run_.withTransmission) {
    draw(kTransmission, run_.transmission, CurveStyle(kGrey), "transmission");
  }
}

ReflectivityView TfrmPlot::shownView() const {
  if (choices_.view == ReflectivityView::SpinAsymmetry && !run_.spinFlip) {
    return ReflectivityView::R;
  }
  return choices_.view;
}

void TfrmPlot::showFitCurve(const ReflCurve& curve) {
  RedrawSuspension suspension(*xyGraph1);
  modelCurve_ = curve;
  if (shownView() != ReflectivityView::SpinAsymmetry) {
    xyGraph1->setPoints(kPlain, curve.x, curve.y);
  }
  showResiduals();
}

void TfrmPlot::clearFittingRegion() {
  RedrawSuspension suspension(*xyGraph1);
  xyGraph1->freeSeries(kRegionMarkers);
  data_.fitRegionLow = -1.0;
  data_.fitRegionHigh = -1.0;
  shadeFittingRegion();
}

void TfrmPlot::setFresnelMedia(std::optional<FresnelMedia> media) {
  fresnelMedia_ = media;
  if (choices_.view == ReflectivityView::RFresnel) applyView();
}

void TfrmPlot::setPlotChoices(PlotChoices choices) {
  const bool redraw = (choices.view == ReflectivityView::SpinAsymmetry) !=
                      (choices_.view == ReflectivityView::SpinAsymmetry);
  choices_ = choices;
  for (std::size_t i = 0; i < viewActions_.size(); ++i) {
    viewActions_[i]->setChecked(kViews[i] == choices.view);
  }
  residualsAction_->setChecked(choices.residuals);
  RedrawSuspension suspension(*xyGraph1);
  if (redraw) drawSeries();
  applyView();
  showResiduals();
}

void TfrmPlot::applyView() {
  RedrawSuspension suspension(*xyGraph1);
  const ReflectivityView view = shownView();
  xyGraph1->setAxisTitle(GraphAxis::Y, QString::fromStdString(ViewAxisTitle(view)));
  xyGraph1->setAxisScale(GraphAxis::Y, view == ReflectivityView::SpinAsymmetry
                                           ? AxisScale::Linear
                                           : AxisScale::Logarithmic);
  switch (view) {
    case ReflectivityView::SpinAsymmetry:
      xyGraph1->setValueScale({});
      break;
    case ReflectivityView::R:
      xyGraph1->setValueScale({});
      // The limits that the load or the run set, as the program always had them.
      xyGraph1->setAxisLimits(GraphAxis::Y, WithRoom(valueRange_));
      return;
    case ReflectivityView::RQz4:
      xyGraph1->setValueScale([](double qz) { return qz * qz * qz * qz; });
      break;
    case ReflectivityView::RFresnel:
      if (fresnelMedia_) {
        const auto fresnel = std::make_shared<const FresnelReflectivity>(*fresnelMedia_);
        xyGraph1->setValueScale([fresnel](double qz) { return 1.0 / fresnel->at(qz); });
      } else {
        xyGraph1->setValueScale([](double) { return std::nan(""); });
      }
      break;
  }
  // Scaled values have their own range: the axis follows them.
  xyGraph1->setAutoRange(GraphAxis::Y);
}

void TfrmPlot::showResiduals() {
  // The residuals are those of R, which the asymmetry view does not show.
  if (!choices_.residuals || !data_.loaded() || shownView() == ReflectivityView::SpinAsymmetry) {
    xyGraph1->setResidualStrip(std::nullopt);
    return;
  }
  const Residuals residuals = ResidualsOf(data_, modelCurve_);
  SeriesStyle style = kMeasuredStyle;
  style.pointSize = 4;
  xyGraph1->setResiduals(residuals.points.x, residuals.points.y, style);
  xyGraph1->setResidualStrip(!residuals.comparable  ? "no curve at the measured Qz"
                             : residuals.normalised ? "(R - R_fit)/dR"
                                                    : "(R - R_fit)/R_fit");
}

void TfrmPlot::shadeFittingRegion() {
  const std::vector<QPointF> markers = xyGraph1->points(kRegionMarkers);
  if (markers.size() < 2) {
    xyGraph1->setShadedBand(std::nullopt);
    return;
  }
  xyGraph1->setShadedBand(AxisLimits{markers.front().x(), markers.back().x()});
}

std::string TfrmPlot::readout(std::optional<DataPoint> point) const {
  return ReflectivityReadout(point);
}

void TfrmPlot::mouseReleasedOverGraph(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                      QPointF pixel) {
  if (!data_.loaded() || !(modifiers & Qt::ControlModifier)) return;
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  std::optional<DataPoint> nearest;
  if (const auto point = xyGraph1->nearestPoint(kMeasured, pixel.x())) {
    nearest = DataPoint{point->x(), point->y()};
  }
  RegionMarkerChange change;
  {
    RedrawSuspension suspension(*xyGraph1);
    change = ChooseRegionBound(
        data_, button == Qt::LeftButton ? RegionBound::Lower : RegionBound::Upper, nearest);
    if (change.recreateMarkers) xyGraph1->freeSeries(kRegionMarkers);
    // Styled whenever it is new, also by a right click before any left one.
    if (!xyGraph1->hasSeries(kRegionMarkers)) xyGraph1->setStyle(kRegionMarkers, kMarkerStyle);
    if (change.removeMarkersAt) xyGraph1->removePointsAt(kRegionMarkers, *change.removeMarkersAt);
    if (change.addMarker) {
      xyGraph1->addPoint(kRegionMarkers, change.addMarker->x, change.addMarker->y);
    }
    shadeFittingRegion();
  }
  if (change.message) prompts_.information(QString::fromStdString(*change.message));
}

}  // namespace quorrel
