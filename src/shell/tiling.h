#pragma once
// The arrangement of the three child windows that "&Tile" and the first showing apply.

namespace quorrel {

struct ChildRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

//! The main window's sizes that the arrangement depends on.
struct FrameSizes {
  int clientWidth = 0;
  int clientHeight = 0;
  int toolbarHeight = 0;
  int statusBarHeight = 0;
  int modelTopPanelWidth = 0;  //!< width of the model editor's sample type panel
};

//! The reflectivity and profile windows share the left part, one above the other; the model
//! editor takes the right part, full height, and keeps its width.
struct TileLayout {
  ChildRect reflectivity;
  ChildRect profile;
  int modelLeft = 0;
  int modelTop = 0;
  int modelHeight = 0;
};

//! With W the client width, M the panel width and H the client height less the tool bar,
//! the status bar and 10: the plots are W - (M + 20) wide and H / 2 high (rounded toward
//! zero), the editor stands at W - (M + 20) and is H high.
TileLayout Tile(const FrameSizes& sizes);

}  // namespace quorrel
