#pragma once
// The colour of each measurement, the same in the reflectivity and the profile windows.

#include <cstddef>
#include <iterator>

#include "model/measurement.h"
#include "ui/plot/reflectivity_slots.h"

namespace quorrel {

//! Measurement k's colour: the measured data's green for the first, then colours apart from
//! the model's black and the spins' blue and red.
inline BgrColour MeasurementColour(std::size_t k) {
  constexpr BgrColour kColours[] = {0xB4771F, 0x0E7FFF, 0xBD6794, 0x4B568C, 0xC2C217, 0x22BDBC};
  return k == 0 ? reflectivity_slot::kMeasuredColour : kColours[(k - 1) % std::size(kColours)];
}

//! The colour of a spin channel's curves: R-- blue, R-+ purple, R+- orange, R++ red; the
//! model's black for None.
inline BgrColour ChannelColour(SpinChannel channel) {
  switch (channel) {
    case SpinChannel::DownDown:
      return kBlue;
    case SpinChannel::DownUp:
      return reflectivity_slot::kPurple;
    case SpinChannel::UpDown:
      return reflectivity_slot::kOrange;
    case SpinChannel::UpUp:
      return kRed;
    case SpinChannel::None:
      break;
  }
  return kBlack;
}

//! The colour of measurement k in the reflectivity window: that of its spin channel's model
//! curve, so that each channel's points and curves match, or else MeasurementColour(k).
inline BgrColour ReflectivityColour(const Measurement& measurement, std::size_t k) {
  if (measurement.channel == SpinChannel::None) return MeasurementColour(k);
  return ChannelColour(measurement.channel);
}

}  // namespace quorrel
