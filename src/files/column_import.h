#pragma once
// Reading plain text tables of measured points, as instruments and other programs write them:
// columns separated by blanks, TABs, commas or semicolons, with comment and header lines, Qz
// in Å⁻¹ or nm⁻¹, or the angle theta or 2theta (degrees) of a laboratory X-ray scan.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/measured_data.h"

namespace quorrel {

//! What a column holds.
enum class ColumnRole { Qz, Theta, TwoTheta, R, DR, SQz, Skip };
enum class QUnit { InverseAngstrom, InverseNanometre };
//! What the numbers of an sQz column are: one standard deviation, or the full width at half
//! maximum of a gaussian (as the most used peers write dQ).
enum class SqzWidth { Sigma, Fwhm };

//! Which column holds what, and the units.
struct ColumnMapping {
  std::vector<ColumnRole> roles;            //!< one per column from the first; Skip beyond
  QUnit qUnit = QUnit::InverseAngstrom;     //!< of Qz and sQz
  double wavelength = 1.5406;               //!< Å, for theta and 2theta (Cu K-alpha)
  SqzWidth sqzWidth = SqzWidth::Sigma;
};

//! "q,R,dR,sQz": the names q, theta, 2theta, R, dR, sQz and skip (any case), comma-separated;
//! nothing when a name is unknown.
std::optional<std::vector<ColumnRole>> ReadColumnRoles(std::string_view text);
std::string ColumnRolesText(const std::vector<ColumnRole>& roles);

//! The mapping a table of `columnCount` columns starts with: the remembered roles, cut or
//! filled with skip; without any, q, R, dR and sQz in the first columns.
ColumnMapping StartingMapping(int columnCount, const ColumnMapping& remembered);

//! The rows of a file that are numbers, and what was passed over.
struct TextTable {
  std::vector<std::vector<double>> rows;
  std::vector<int> rowLines;             //!< the file line of each row
  int columnCount = 0;                   //!< the most numbers in a row
  int skippedLines = 0;                  //!< comment and header lines (blank ones not counted)
  std::vector<std::string> firstLines;   //!< the file's first lines as they stand, for a preview
};

//! Every line of two or more numbers is a row; any other non-blank line is skipped and
//! counted. Numbers are separated by blanks, TABs, commas or semicolons and written with a
//! point; a file that separates by semicolons may write them with a decimal comma. Throws
//! FileError when the file cannot be read.
TextTable ReadTextTable(const std::filesystem::path& path);

//! The points of a table under a mapping.
struct ImportedPoints {
  MeasuredData data;          //!< the points; no file name, no fitting region
  int droppedNotPositive = 0; //!< rows whose R is not above zero
  int unusableRows = 0;       //!< rows too short for the mapping or with Qz or R not a number
};

//! Qz from the x column (Qz, or 4π/λ·sin θ from theta or 2theta), R, dR (0 without a column)
//! and sQz (only with a column) as one standard deviation. Throws QuorrelError when the mapping has no x or no R
//! column, or one role twice.
ImportedPoints ConvertTable(const TextTable& table, const ColumnMapping& mapping);

//! Reads and converts a file as a measured data set: the file name and the fitting region
//! from the first to the last Qz. `notes` receives the counts of what was skipped or dropped.
//! Throws FileError naming the file for more than MeasuredData::kMaxPoints points, and what
//! ReadTextTable and ConvertTable throw.
MeasuredData ImportMeasuredData(const std::filesystem::path& path, const ColumnMapping& mapping,
                                std::vector<std::string>& notes);

}  // namespace quorrel
