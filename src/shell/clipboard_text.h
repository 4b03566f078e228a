#pragma once
// The text that "&Copy data" puts on the clipboard: the active plot's calculated curves as
// tab-separated lines for a spreadsheet.

#include <string>

#include "calc/curves.h"
#include "calc/spin_flip_run.h"

namespace quorrel {

//! One line per point of `plain`: Qz TAB R, with magnetization TAB (slot 3 value) TAB
//! (slot 2 value), with transmission TAB T, with a spin-flip run TAB R-- TAB R-+ TAB R+- TAB
//! R++; numbers in the general format; lines ended by "\n". Every further curve is matched to
//! `plain` by Qz: the transmission curve lacks the points whose transmission is not above 0,
//! so its field is empty on those lines. With a spin-flip run a first line names the columns.
std::string ReflectivityClipboardText(const Curve& plain, const Curve* spinUp,
                                      const Curve* spinDown, const Curve* transmission,
                                      const SpinChannels* spinFlip = nullptr);

//! z TAB rho per point.
std::string ProfileClipboardText(const Curve& profile);

}  // namespace quorrel
