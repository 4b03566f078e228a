#include "ui/plot/profile_window.h"

#include "shell/help_topics.h"
#include "ui/plot/measurement_colours.h"

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

void TfrmProfile::showContrastProfiles(const std::vector<std::optional<ProfileCurve>>& profiles,
                                       const std::vector<std::string>& labels) {
  RedrawSuspension suspension(*xyGraph1);
  for (int slot = kContrastSlot; xyGraph1->hasSeries(slot); ++slot) xyGraph1->freeSeries(slot);
  bool any = false;
  for (std::size_t k = 0; k < profiles.size(); ++k) {
    if (!profiles[k]) continue;
    const int slot = kContrastSlot + static_cast<int>(k);
    SeriesStyle style;
    style.drawLine = true;
    style.drawPoints = false;
    style.lineColor = MeasurementColour(k);
    xyGraph1->setStyle(slot, style);
    xyGraph1->setPoints(slot, profiles[k]->x, profiles[k]->y);
    xyGraph1->setSeriesName(slot, QString::fromStdString(k < labels.size() ? labels[k] : ""));
    any = true;
  }
  // Without contrasts the model's profile keeps the name the magnetic profile gave it, whichever
  // of the two calculations ended first.
  const QString plain = xyGraph1->hasSeries(kMagneticSlot) ? QString("nuclear") : QString();
  xyGraph1->setSeriesName(kProfileSlot, any ? QString("model") : plain);
  xyGraph1->setAutoRange(GraphAxis::Y);
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
