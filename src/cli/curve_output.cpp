#include "cli/curve_output.h"

#include "cli/command.h"
#include "common/decimal_separator.h"
#include "common/number_format.h"
#include "files/atomic_file.h"
#include "files/curve_files.h"

namespace quorrel::cli {

Precision PrecisionOption(const Arguments& args) {
  const std::optional<std::string> value = args.value(kPrecisionOption);
  if (!value || *value == "file") return Precision::FileFormat;
  if (*value == "full") return Precision::Full;
  throw UsageError("--precision takes 'file' or 'full', not '" + *value + "'");
}

TableFormat TableFormatOf(Precision precision) {
  TableFormat format = CurveFileFormat();
  if (precision == Precision::Full) {
    format.number = [](double value) { return FormatFull(value, DecimalSeparator()); };
  }
  return format;
}

std::string ReflectivityText(const ReflectivityResult& result, bool magnetization,
                             bool transmission, Precision precision) {
  return ReflectivityTable(result, magnetization, transmission).text(TableFormatOf(precision));
}

std::string ProfileText(const ProfileCurve& profile, Precision precision) {
  return ProfileTable(profile).text(TableFormatOf(precision));
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
