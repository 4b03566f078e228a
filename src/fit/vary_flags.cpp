#include "fit/vary_flags.h"

#include <stdexcept>
#include <string>

namespace quorrel {

namespace {
void RequireIndex(int index, int count) {
  if (index < 1 || index > count) throw std::out_of_range("no parameter " + std::to_string(index));
}
}  // namespace

VaryFlags::VaryFlags(int count) : flags_(static_cast<std::size_t>(count < 0 ? 0 : count) + 1) {}

bool VaryFlags::operator[](int index) const {
  RequireIndex(index, count());
  return flags_[static_cast<std::size_t>(index)];
}

void VaryFlags::set(int index, bool vary) {
  RequireIndex(index, count());
  flags_[static_cast<std::size_t>(index)] = vary;
}

std::vector<int> VaryFlags::variedIndices() const {
  std::vector<int> indices;
  for (int i = 1; i <= count(); ++i) {
    if (flags_[static_cast<std::size_t>(i)]) indices.push_back(i);
  }
  return indices;
}

}  // namespace quorrel
