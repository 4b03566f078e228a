#pragma once
// The colour of each measurement, the same in the reflectivity and the profile windows.

#include <cstddef>
#include <iterator>

#include "ui/plot/reflectivity_slots.h"

namespace quorrel {

//! Measurement k's colour: the measured data's green for the first, then colours apart from
//! the model's black and the spins' blue and red.
inline BgrColour MeasurementColour(std::size_t k) {
  constexpr BgrColour kColours[] = {0xB4771F, 0x0E7FFF, 0xBD6794, 0x4B568C, 0xC2C217, 0x22BDBC};
  return k == 0 ? reflectivity_slot::kMeasuredColour : kColours[(k - 1) % std::size(kColours)];
}

}  // namespace quorrel
