#include "graph/series_style.h"

namespace quorrel {

int DrawnPointSize(int size, int shape) {
  if (shape == kCrossShape) return size;
  if (size < 2) return 2;
  return size % 2 == 0 ? size : size + 1;
}

}  // namespace quorrel
