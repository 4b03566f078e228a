#pragma once
// How the calculating subcommands write their curves: the curve file formats, or the same
// columns with every digit a double holds, to a file or to standard output.

#include <ostream>
#include <string>

#include "calc/curves.h"
#include "cli/arguments.h"
#include "files/curve_table.h"

namespace quorrel::cli {

enum class Precision {
  FileFormat,  // the curve files' own "0.000e-00"
  Full,        // 17 significant digits
};

//! "--precision file" or "--precision full"; the file format when absent.
Precision PrecisionOption(const Arguments& args);

//! The curve files' format, or the same with 17 significant digits.
TableFormat TableFormatOf(Precision precision);

//! The reflectivity file's columns: Qz, R, 0, [up, empty, down], [transmission].
std::string ReflectivityText(const ReflectivityResult& result, bool magnetization,
                             bool transmission, Precision precision);

//! The profile file's columns: z, rho.
std::string ProfileText(const ProfileCurve& profile, Precision precision);

//! Writes `text` to the file of "-o" (atomically, so a failure leaves nothing half written)
//! or to `out`.
void DeliverOutput(const std::string& text, const Arguments& args, std::ostream& out);

//! The options that every calculating subcommand takes besides its own.
inline constexpr const char* kOutputOption = "-o";
inline constexpr const char* kPrecisionOption = "--precision";

}  // namespace quorrel::cli
