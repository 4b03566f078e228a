#pragma once
// The text files of the calculated curves: reflectivity (.dat) and density profile (.pro).

#include <array>
#include <filesystem>
#include <string>

#include "calc/curves.h"
#include "calc/spin_flip_run.h"
#include "files/curve_table.h"

namespace quorrel {

//! A curve under the name of its column.
struct NamedCurve {
  const char* name;
  const Curve* curve;
};

//! The four channels of a spin-flip run: R--, R-+, R+-, R++ (incident, then reflected spin).
std::array<NamedCurve, 4> SpinFlipChannels(const SpinChannels& result);

//! The curve files' numbers: "0.000e-00" with the user's separator, every line ending in CR LF.
TableFormat CurveFileFormat();

//! The reflectivity file's columns: Qz, R and "0" (dR); with magnetization R_up, a free
//! column and R_down; with transmission T; with a spin-flip run its four channels.
CurveTable ReflectivityTable(const ReflectivityResult& result, bool magnetization,
                             bool transmission, const SpinChannels* spinFlip = nullptr);

//! The reflectivity file's text: ReflectivityTable in CurveFileFormat, so per point of the
//! plain curve "Qz TAB R TAB 0", then with magnetization "TAB up TAB TAB down", then with
//! transmission "TAB T". A further curve that has no point at a line's Qz leaves its field
//! empty there. With a spin-flip run the four channels follow, and a first line
//! "# Qz TAB R TAB dR ..." names the columns, since so many are not read without names.
std::string ReflectivityFileText(const ReflectivityResult& result, bool magnetization,
                                 bool transmission, const SpinChannels* spinFlip = nullptr);

//! The profile file's columns: z, rho.
CurveTable ProfileTable(const ProfileCurve& profile);

//! The profile file's text: "z TAB rho" and CR LF per point.
std::string ProfileFileText(const ProfileCurve& profile);

//! Writes ReflectivityFileText to `path` atomically; FileError names the file.
void WriteReflectivityFile(const std::filesystem::path& path, const ReflectivityResult& result,
                           bool magnetization, bool transmission,
                           const SpinChannels* spinFlip = nullptr);

//! Writes ProfileFileText to `path` atomically; FileError names the file.
void WriteProfileFile(const std::filesystem::path& path, const ProfileCurve& profile);

}  // namespace quorrel
