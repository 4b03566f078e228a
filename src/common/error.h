#pragma once
// The small family of error types that the core raises. Messages say where.

#include <optional>
#include <stdexcept>
#include <string>

namespace quorrel {

//! Base of every error that Quorrel raises on purpose.
class QuorrelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

//! A division by zero, overflow or invalid operation that no rule absorbs.
class ArithmeticFault : public QuorrelError {
 public:
  explicit ArithmeticFault(std::string what);
  ArithmeticFault(std::string what, double qz);

  //! What went wrong, without the position.
  const std::string& fault() const { return fault_; }
  //! The Qz at which it happened, when the fault arose in a curve.
  std::optional<double> qz() const { return qz_; }
  //! The same fault, located at a Qz.
  ArithmeticFault atQz(double qz) const { return ArithmeticFault(fault_, qz); }

 private:
  std::string fault_;
  std::optional<double> qz_;
};

//! The layer stack cannot hold the model.
class CapacityExceeded : public QuorrelError {
 public:
  CapacityExceeded();
  static const char* const kMessage;
};

//! A grid cell whose text is not a number where a number is needed. `grid`, `row` and
//! `column` locate it for the program; the message names it by `place`, as the user sees it.
class CellError : public QuorrelError {
 public:
  CellError(std::string grid, int row, int column, std::string text, const std::string& place);
  const std::string& grid() const { return grid_; }
  int row() const { return row_; }
  int column() const { return column_; }
  const std::string& text() const { return text_; }

 private:
  std::string grid_;
  int row_;
  int column_;
  std::string text_;
};

//! The least-squares solver of a fit ended with a failure of its own, not of the model.
class SolverError : public QuorrelError {
 public:
  using QuorrelError::QuorrelError;
};

//! A file that cannot be opened, read or written, or whose content is refused.
class FileError : public QuorrelError {
 public:
  using QuorrelError::QuorrelError;
};

}  // namespace quorrel
