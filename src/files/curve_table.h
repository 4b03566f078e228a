#pragma once
// The one writer of tables of calculated curves: the curve files, ORSO's data rows, quorrel-cli's
// output and the clipboard lay out their named columns here and choose their number format.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calc/curves.h"

namespace quorrel {

//! How a table writes its fields: the numbers, the text where a curve has no point, the
//! separator, the line end, and whether a first line names the columns.
struct TableFormat {
  std::function<std::string(double)> number;
  std::string missing;
  char separator = '\t';
  std::string lineEnd = "\r\n";
  //! With a value, a first line of the column names, after this text ("# " for a comment).
  std::optional<std::string> namesPrefix;
};

//! Named columns over the points of one curve: a line per point, its x first. Every further
//! curve holds some of those points in the same order (the transmission drops the points that
//! are not above 0), so it is matched by x and its field stays empty where it has no point:
//! no value is ever written beside another point's x. The curves must outlive the table.
class CurveTable {
 public:
  //! The lines: x of `curve` under `xName`, its y under `yName`.
  CurveTable(std::string xName, std::string yName, const Curve& curve);

  //! A further curve, matched by x.
  void addCurve(std::string name, const Curve& curve);
  //! The same text on every line ("0" for an error that is not known, "" for a column kept free).
  void addText(std::string name, std::string text);
  //! One value per line; a line beyond `values` gets 0.
  void addValues(std::string name, std::vector<double> values);

  std::string text(const TableFormat& format) const;

 private:
  struct Column {
    std::string name;
    const Curve* curve = nullptr;               // a curve matched by x, or
    std::optional<std::vector<double>> values;  // one value per line, or
    std::string text;                           // the same text on every line
  };

  const Curve& lines_;
  std::string xName_;
  std::vector<Column> columns_;
};

}  // namespace quorrel
