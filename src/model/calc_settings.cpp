#include "model/calc_settings.h"

namespace quorrel {

CalcSettings::CalcSettings() : resltnGrid(2, 2) {
  resltnGrid.setCell(0, 0, "from Qz");
  resltnGrid.setCell(0, 1, "delta Qz");
  resltnGrid.setCell(1, 0, "0");
  resltnGrid.setCell(1, 1, "0");
}

}  // namespace quorrel
