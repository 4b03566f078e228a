#include "cli/data_options.h"

#include "cli/command.h"

namespace quorrel::cli {

std::set<std::string> DataValueOptions() {
  return {"--dataset", "--columns", "--q-unit", "--sqz", "--xray-wavelength", "--smearing"};
}

DataOptions ReadDataOptions(const Arguments& args) {
  DataOptions options;
  if (const std::optional<int> set = args.integer("--dataset")) {
    if (*set < 0) throw UsageError("--dataset takes a data set number from 0");
    options.dataSet = *set;
  }
  if (const std::optional<std::string> columns = args.value("--columns")) {
    const std::optional<std::vector<ColumnRole>> roles = ReadColumnRoles(*columns);
    if (!roles) {
      throw UsageError("--columns takes names from q, theta, 2theta, R, dR, sQz and skip, such "
                       "as q,R,dR, not '" + *columns + "'");
    }
    ColumnMapping mapping;
    mapping.roles = *roles;
    const std::string unit = args.value("--q-unit").value_or("A");
    if (unit != "A" && unit != "nm") throw UsageError("--q-unit takes A or nm, not '" + unit + "'");
    mapping.qUnit = unit == "nm" ? QUnit::InverseNanometre : QUnit::InverseAngstrom;
    const std::string width = args.value("--sqz").value_or("sigma");
    if (width != "sigma" && width != "fwhm") {
      throw UsageError("--sqz takes sigma or fwhm, not '" + width + "'");
    }
    mapping.sqzWidth = width == "fwhm" ? SqzWidth::Fwhm : SqzWidth::Sigma;
    if (const std::optional<double> wavelength = args.number("--xray-wavelength")) {
      if (!(*wavelength > 0)) throw UsageError("--xray-wavelength takes a length above 0 (Å)");
      mapping.wavelength = *wavelength;
    }
    options.columns = mapping;
  } else if (args.has("--q-unit") || args.has("--sqz") || args.has("--xray-wavelength")) {
    throw UsageError("--q-unit, --sqz and --xray-wavelength belong to --columns");
  }
  if (args.has(kAllDataSets)) {
    if (args.has("--dataset") || options.columns) {
      throw UsageError(std::string(kAllDataSets) + " reads every data set of an ORSO file; it "
                       "takes neither --dataset nor --columns");
    }
    options.orsoDataSets = OrsoDataSets::All;
  }
  options.resolutionFromData = args.has(kResolutionFromData);
  const std::string kernel = args.value("--smearing").value_or("standard");
  if (kernel != "standard" && kernel != "accurate") {
    throw UsageError("--smearing takes standard or accurate, not '" + kernel + "'");
  }
  options.smearing = kernel == "accurate" ? SmearingKernel::Accurate : SmearingKernel::Standard;
  return options;
}

void ApplyDataOptions(const DataOptions& options, const MeasuredData& data,
                      const std::string& path, CalcSettings& settings) {
  settings.smearing = options.smearing;
  settings.resolutionFromData = options.resolutionFromData;
  if (options.resolutionFromData && !data.hasResolution()) {
    throw QuorrelError(path + ": the data carry no resolution (sQz) for " +
                       std::string(kResolutionFromData));
  }
}

}  // namespace quorrel::cli
