#include "ui/plot/profile_window.h"

#include "shell/help_topics.h"

namespace quorrel {

TfrmProfile::TfrmProfile(QWidget* parent)
    : GraphWindow("Profile", help_context::kProfileWindow, parent) {
  setObjectName("TfrmProfile");
  xyGraph1->setTitle("scattering length density profile");
  xyGraph1->setAxisTitle(GraphAxis::X, "z / Å");
  xyGraph1->setAxisTitle(GraphAxis::Y, "rho / Å^-2");
  xyGraph1->setErrorCaption("MAX/MIN VALUES INCONSISTENT");
  xyGraph1->setPlotOffGraph(false);
  xyGraph1->setCrossAtZero(false);
}

void TfrmProfile::showProfile(const ProfileCurve& profile) {
  RedrawSuspension suspension(*xyGraph1);
  xyGraph1->freeSeries(kProfileSlot);
  xyGraph1->freeSeries(kMagneticSlot);
  xyGraph1->setResidualStrip(std::nullopt);
  xyGraph1->setPoints(kProfileSlot, profile.x, profile.y);
  xyGraph1->setAutoRange(GraphAxis::X);
  xyGraph1->setAutoRange(GraphAxis::Y);
  xyGraph1->setYTitleOffset(20);
}

void TfrmProfile::showMagneticProfile(const MagneticProfile& profile) {
  RedrawSuspension suspension(*xyGraph1);
  xyGraph1->setSeriesName(kProfileSlot, "nuclear");
  xyGraph1->setStyle(kMagneticSlot, SeriesStyle{.lineColor = kRed});
  xyGraph1->setPoints(kMagneticSlot, profile.magnetic.x, profile.magnetic.y);
  xyGraph1->setSeriesName(kMagneticSlot, "magnetic");
  xyGraph1->setResidualStrip(QString(kAngleTitle));
  xyGraph1->setResiduals(profile.angle.x, profile.angle.y,
                         SeriesStyle{.drawLine = true, .lineColor = kBlue});
  xyGraph1->setAutoRange(GraphAxis::Y);
}

std::string TfrmProfile::readout(std::optional<DataPoint> point) const {
  return ProfileReadout(point);
}

}  // namespace quorrel
