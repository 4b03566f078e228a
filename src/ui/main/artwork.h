#pragma once
// The program's pictures, drawn in code so that they scale and need no image files.

#include <QIcon>
#include <QPixmap>

namespace quorrel {

//! The tool bar's buttons, from left to right.
enum class ToolIcon {
  LoadData,
  LoadModel,
  Save,
  Print,
  CalculateProfile,
  CalculateReflectivity,
  Fit,
  Settings,
};

QIcon ToolBarIcon(ToolIcon icon);

//! The program's icon, on every window.
QIcon ProgramIcon();

//! The start-up picture.
QPixmap SplashImage();
//! Where the eye of the splash picture sits, from its top left corner.
inline constexpr int kEyeLeft = 144;
inline constexpr int kEyeTop = 36;
//! Frame `frame` (1 to 5) of the blinking eye: 1 open, 5 closed.
QPixmap EyeImage(int frame);

//! The logos at the right of the tool bar.
QPixmap FacilityLogo();
QPixmap MakerLogo();

}  // namespace quorrel
