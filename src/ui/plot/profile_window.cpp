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
  xyGraph1->setPoints(kProfileSlot, profile.x, profile.y);
  xyGraph1->setAutoRange(GraphAxis::X);
  xyGraph1->setAutoRange(GraphAxis::Y);
  xyGraph1->setYTitleOffset(20);
}

std::string TfrmProfile::readout(std::optional<DataPoint> point) const {
  return ProfileReadout(point);
}

}  // namespace quorrel
