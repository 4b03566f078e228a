#include "shell/tiling.h"

namespace quorrel {

TileLayout Tile(const FrameSizes& sizes) {
  const int h = sizes.clientHeight - sizes.toolbarHeight - sizes.statusBarHeight - 10;
  const int plotWidth = sizes.clientWidth - (sizes.modelTopPanelWidth + 20);
  const int half = h / 2;  // C++ division rounds toward zero
  TileLayout layout;
  layout.reflectivity = {0, 0, plotWidth, half};
  layout.profile = {0, half, plotWidth, half};
  layout.modelLeft = plotWidth;
  layout.modelTop = 0;
  layout.modelHeight = h;
  return layout;
}

}  // namespace quorrel
