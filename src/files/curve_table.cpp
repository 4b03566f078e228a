#include "files/curve_table.h"

namespace quorrel {

CurveTable::CurveTable(std::string xName, std::string yName, const Curve& curve)
    : lines_(curve), xName_(std::move(xName)) {
  addCurve(std::move(yName), curve);
}

void CurveTable::addCurve(std::string name, const Curve& curve) {
  columns_.push_back({std::move(name), &curve, std::nullopt, {}});
}

void CurveTable::addText(std::string name, std::string text) {
  columns_.push_back({std::move(name), nullptr, std::nullopt, std::move(text)});
}

void CurveTable::addValues(std::string name, std::vector<double> values) {
  columns_.push_back({std::move(name), nullptr, std::move(values), {}});
}

std::string CurveTable::text(const TableFormat& format) const {
  std::string text;
  if (format.namesPrefix) {
    text += *format.namesPrefix + xName_;
    for (const Column& column : columns_) text += format.separator + column.name;
    text += format.lineEnd;
  }
  // One pass: the next unwritten point of each curve column.
  std::vector<std::size_t> next(columns_.size(), 0);
  for (std::size_t line = 0; line < lines_.size(); ++line) {
    const double x = lines_.x[line];
    text += format.number(x);
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      const Column& column = columns_[c];
      text += format.separator;
      if (column.curve) {
        const Curve& curve = *column.curve;
        if (next[c] < curve.size() && curve.x[next[c]] == x) {
          text += format.number(curve.y[next[c]++]);
        } else {
          text += format.missing;
        }
      } else if (column.values) {
        text += format.number(line < column.values->size() ? (*column.values)[line] : 0.0);
      } else {
        text += column.text;
      }
    }
    text += format.lineEnd;
  }
  return text;
}

}  // namespace quorrel
