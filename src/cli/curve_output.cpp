#include "cli/curve_output.h"

#include "cli/command.h"
#include "common/decimal_separator.h"
#include "common/number_format.h"
#include "files/atomic_file.h"
#include "files/curve_files.h"

namespace quorrel::cli {

namespace {

std::string Full(double value) { return FormatFull(value, DecimalSeparator()); }

//! The value of a further curve at the plain curve's Qz, or "" where it has no point there
//! (the transmission keeps only its positive points).
class FullCursor {
 public:
  explicit FullCursor(const Curve& curve) : curve_(curve) {}
  std::string valueAt(double qz) {
    if (next_ >= curve_.size() || curve_.x[next_] != qz) return {};
    return Full(curve_.y[next_++]);
  }

 private:
  const Curve& curve_;
  std::size_t next_ = 0;
};

}  // namespace

Precision PrecisionOption(const Arguments& args) {
  const std::optional<std::string> value = args.value(kPrecisionOption);
  if (!value || *value == "file") return Precision::FileFormat;
  if (*value == "full") return Precision::Full;
  throw UsageError("--precision takes 'file' or 'full', not '" + *value + "'");
}

std::string ReflectivityText(const ReflectivityResult& result, bool magnetization,
                             bool transmission, Precision precision) {
  if (precision == Precision::FileFormat) {
    return ReflectivityFileText(result, magnetization, transmission);
  }
  FullCursor up(result.spinUp);
  FullCursor down(result.spinDown);
  FullCursor transmitted(result.transmission);
  std::string text;
  for (std::size_t i = 0; i < result.plain.size(); ++i) {
    const double qz = result.plain.x[i];
    text += Full(qz) + '\t' + Full(result.plain.y[i]) + "\t0";
    if (magnetization) text += '\t' + up.valueAt(qz) + "\t\t" + down.valueAt(qz);
    if (transmission) text += '\t' + transmitted.valueAt(qz);
    text += "\r\n";
  }
  return text;
}

std::string ProfileText(const ProfileCurve& profile, Precision precision) {
  if (precision == Precision::FileFormat) return ProfileFileText(profile);
  std::string text;
  for (std::size_t i = 0; i < profile.size(); ++i) {
    text += Full(profile.x[i]) + '\t' + Full(profile.y[i]) + "\r\n";
  }
  return text;
}

void DeliverOutput(const std::string& text, const Arguments& args, std::ostream& out) {
  if (const std::optional<std::string> path = args.value(kOutputOption)) {
    WriteFileAtomically(*path, text);
  } else {
    out << text;
    out.flush();
  }
}

}  // namespace quorrel::cli
