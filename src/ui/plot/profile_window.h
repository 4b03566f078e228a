#pragma once

#include <optional>
#include <string>
#include <vector>
// The profile window: the scattering length density over depth.

#include "calc/curves.h"
#include "calc/magnetic_profile.h"
#include "ui/plot/graph_window.h"

namespace quorrel {

class TfrmProfile : public GraphWindow {
  Q_OBJECT

 public:
  explicit TfrmProfile(QWidget* parent = nullptr);

  //! The profile in slot 0; the axes follow it. The magnetic curves of an earlier spin-flip
  //! profile go.
  void showProfile(const ProfileCurve& profile);
  //! With spin flip, after showProfile: the magnetic density beside the nuclear one, named in
  //! a legend, and the angle of the magnetisation in a strip with its own axis below.
  void showMagneticProfile(const MagneticProfile& profile);

  //! The profile of each measurement with overrides (nothing: the model's own), labelled, in
  //! the measurement's colour; none at all: only the model's profile.
  void showContrastProfiles(const std::vector<std::optional<ProfileCurve>>& profiles,
                            const std::vector<std::string>& labels);

  static constexpr int kProfileSlot = 0;
  static constexpr int kMagneticSlot = 1;
  //! The first contrast profile; measurement k's follows at kContrastSlot + k.
  static constexpr int kContrastSlot = 10;
  static constexpr const char* kAngleTitle = "theta(mag) / °";

 protected:
  std::string readout(std::optional<DataPoint> point) const override;
};

}  // namespace quorrel
