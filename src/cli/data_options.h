#pragma once
// The options of the calculating subcommands that say how measured data are read (an ORSO
// file's data set, the columns of a plain text table) and how their resolution is used.

#include <optional>
#include <set>
#include <string>

#include "cli/arguments.h"
#include "files/column_import.h"
#include "model/calc_settings.h"

namespace quorrel::cli {

//! --dataset N, --columns LIST, --q-unit A|nm, --sqz sigma|fwhm, --xray-wavelength L,
//! --smearing KERNEL.
std::set<std::string> DataValueOptions();
inline constexpr const char* kResolutionFromData = "--resolution-from-data";
//! The switch of the fitting commands that reads every data set of an ORSO file.
inline constexpr const char* kAllDataSets = "--all-datasets";

//! Which data sets of an ORSO file are read.
enum class OrsoDataSets {
  One,  //!< DataOptions::dataSet
  All,  //!< each as a measurement of its own
};

struct DataOptions {
  int dataSet = 0;                        //!< of an ORSO file, from 0
  OrsoDataSets orsoDataSets = OrsoDataSets::One;
  std::optional<ColumnMapping> columns;   //!< read the file as a plain text table
  bool resolutionFromData = false;
  SmearingKernel smearing = SmearingKernel::Standard;
};

//! Reads the options; UsageError for a value that is not one of theirs, for --q-unit,
//! --sqz or --xray-wavelength without --columns, and for --all-datasets with --dataset or
//! --columns.
DataOptions ReadDataOptions(const Arguments& args);

//! Sets the kernel and the resolution choice; QuorrelError naming `path` when the resolution
//! is to come from data that carry none.
void ApplyDataOptions(const DataOptions& options, const MeasuredData& data,
                      const std::string& path, CalcSettings& settings);

//! The usage lines of the options, spliced into the commands' help texts.
#define QUORREL_DATA_OPTIONS_HELP \
    "  --dataset N       the data set of an ORSO file (.ort) to read, from 0 (default 0)\n" \
    "  --columns LIST    read DATA as a plain text table (blanks, TABs, commas or semicolons\n" \
    "                    between numbers; other lines are skipped): what each column holds,\n" \
    "                    from q, theta, 2theta, R, dR, sQz and skip, such as q,R,dR,sQz\n" \
    "  --q-unit A|nm     the unit of the q and sQz columns: 1/angstrom (default) or 1/nm\n" \
    "  --sqz sigma|fwhm  the sQz column holds one standard deviation (default) or the full\n" \
    "                    width at half maximum of a gaussian\n" \
    "  --xray-wavelength L\n" \
    "                    the wavelength (Å) of theta and 2theta columns (degrees); default\n" \
    "                    1.5406\n" \
    "  --resolution-from-data\n" \
    "                    smear every point with the 1-sigma resolution sQz of the data (an\n" \
    "                    ORSO file's fourth column, or the sQz column): half-width 2 sQz\n" \
    "  --smearing standard|accurate\n" \
    "                    the resolution kernel: the nine-point one (default) or a Gaussian\n" \
    "                    quadrature over 3.5 sigma that follows the fringes\n"

//! The usage lines of --all-datasets, for the commands that fit several measurements.
#define QUORREL_ALL_DATA_SETS_HELP \
    "  --all-datasets    every data set of each ORSO file (.ort) is a measurement of its own,\n" \
    "                    labelled by the data set's name (its number from 0 when it has none)\n"

}  // namespace quorrel::cli
