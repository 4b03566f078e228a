#pragma once
// The text files of the calculated curves: reflectivity (.dat) and density profile (.pro).

#include <filesystem>
#include <string>

#include "calc/curves.h"

namespace quorrel {

//! The reflectivity file's text: per point of the plain curve "Qz TAB R TAB 0", then with
//! magnetization "TAB up TAB TAB down", then with transmission "TAB T"; every number as
//! "0.000e-00" with the user's separator, every line ending in CR LF. A further curve that
//! has no point at a line's Qz (the transmission drops points that are not above 0) leaves
//! its field empty there, so no value is written beside the wrong Qz.
std::string ReflectivityFileText(const ReflectivityResult& result, bool magnetization,
                                 bool transmission);

//! The profile file's text: "z TAB rho" and CR LF per point.
std::string ProfileFileText(const ProfileCurve& profile);

//! Writes ReflectivityFileText to `path` atomically; FileError names the file.
void WriteReflectivityFile(const std::filesystem::path& path, const ReflectivityResult& result,
                           bool magnetization, bool transmission);

//! Writes ProfileFileText to `path` atomically; FileError names the file.
void WriteProfileFile(const std::filesystem::path& path, const ProfileCurve& profile);

}  // namespace quorrel
