#pragma once

#include <optional>
#include <string>
#include <vector>
// The profile window: the scattering length density over depth.

#include "calc/curves.h"
#include "ui/plot/graph_window.h"

namespace quorrel {

class TfrmProfile : public GraphWindow {
  Q_OBJECT

 public:
  explicit TfrmProfile(QWidget* parent = nullptr);

  //! The profile in slot 0; the axes follow it.
  void showProfile(const ProfileCurve& profile);

  //! The profile of each measurement with overrides (nothing: the model's own), labelled, in
  //! the measurement's colour; none at all: only the model's profile.
  void showContrastProfiles(const std::vector<std::optional<ProfileCurve>>& profiles,
                            const std::vector<std::string>& labels);

  static constexpr int kProfileSlot = 0;

 protected:
  std::string readout(std::optional<DataPoint> point) const override;
};

}  // namespace quorrel
