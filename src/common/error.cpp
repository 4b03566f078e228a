#include "common/error.h"

#include "common/number_format.h"

namespace quorrel {

namespace {
std::string WithQz(const std::string& fault, double qz) {
  return fault + " at Qz = " + FormatGeneral(qz);
}
}  // namespace

ArithmeticFault::ArithmeticFault(std::string what)
    : QuorrelError("arithmetic fault: " + what), fault_(std::move(what)) {}

ArithmeticFault::ArithmeticFault(std::string what, double qz)
    : QuorrelError("arithmetic fault: " + WithQz(what, qz)), fault_(std::move(what)), qz_(qz) {}

const char* const CapacityExceeded::kMessage =
    "I'm running out of layers.... reduce the number of steps in your function!";

CapacityExceeded::CapacityExceeded() : QuorrelError(kMessage) {}

CellError::CellError(std::string grid, int row, int column, std::string text,
                     const std::string& place)
    : QuorrelError(place + ": '" + text + "' is not a valid floating point value"),
      grid_(std::move(grid)),
      row_(row),
      column_(column),
      text_(std::move(text)) {}

}  // namespace quorrel
