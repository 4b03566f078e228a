#include "ui/main/tool_bar.h"

#include <QFrame>
#include <QMouseEvent>
#include <QToolButton>

#include "ui/main/artwork.h"

namespace quorrel {

namespace {

constexpr int kButtonSize = 32;
constexpr int kTop = 3;
constexpr int kStripHeight = 4;

}  // namespace

LogoImage::LogoImage(QWidget* parent) : QLabel(parent) {
  setMouseTracking(true);
  setCursor(Qt::PointingHandCursor);
}

void LogoImage::mouseMoveEvent(QMouseEvent* event) {
  emit hovered();
  event->accept();
}

void LogoImage::mouseReleaseEvent(QMouseEvent* event) {
  emit released();
  event->accept();
}

ToolbarPanel::ToolbarPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("Toolbar1");
  setMouseTracking(true);
  struct Button {
    QToolButton** member;
    const char* name;
    ToolIcon icon;
    const char* hint;
  };
  const Button buttons[] = {
      {&btnLoadRefl, "btnLoadRefl", ToolIcon::LoadData, "load data"},
      {&btnLoadModel, "btnLoadModel", ToolIcon::LoadModel, "load model"},
      {&btnSave, "btnSave", ToolIcon::Save, "save data"},
      {&btnPrint, "btnPrint", ToolIcon::Print, "print summary"},
      {&btnCalculateProfile, "btnCalculateProfile", ToolIcon::CalculateProfile,
       "calculate profile"},
      {&btnCalculateRefl, "btnCalculateRefl", ToolIcon::CalculateReflectivity,
       "calculate reflectivity"},
      {&btnFit, "btnFit", ToolIcon::Fit, "fit data"},
      {&btnSettings, "btnSettings", ToolIcon::Settings, "calculation settings"},
  };
  int left = 4;
  for (const Button& button : buttons) {
    auto* tool = new QToolButton(this);
    tool->setObjectName(button.name);
    tool->setIcon(ToolBarIcon(button.icon));
    tool->setIconSize(QSize(24, 24));
    tool->setToolTip(button.hint);
    tool->setAutoRaise(true);
    tool->setGeometry(left, kTop, kButtonSize, kButtonSize);
    left += kButtonSize + 1;
    *button.member = tool;
  }
  separator = new QFrame(this);
  separator->setFrameShape(QFrame::VLine);
  separator->setFrameShadow(QFrame::Sunken);
  facilityLogo = new LogoImage(this);
  facilityLogo->setObjectName("facilityLogo");
  facilityLogo->setPixmap(FacilityLogo());
  strip = new LogoImage(this);
  strip->setObjectName("strip");
  strip->setStyleSheet("background-color: #2f7f6f;");
  makerLogo = new LogoImage(this);
  makerLogo->setObjectName("makerLogo");
  makerLogo->setPixmap(MakerLogo());
  placeLogos();
}

QSize ToolbarPanel::sizeHint() const { return {600, kButtonSize + 2 * kTop}; }

void ToolbarPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  placeLogos();
}

void ToolbarPanel::placeLogos() {
  // The separator 4 pixels right of the last button, the facility logo 2 pixels right of
  // it, the maker logo against the right edge, the strip under the facility logo to
  // 4 pixels short of the right edge.
  const QRect last = btnSettings->geometry();
  separator->setGeometry(last.right() + 1 + 4, kTop, 2, kButtonSize);
  const QSize facility = facilityLogo->pixmap().size();
  const int facilityLeft = separator->geometry().right() + 1 + 2;
  facilityLogo->setGeometry(facilityLeft, kTop, facility.width(), facility.height());
  const int stripTop = kTop + facility.height() + 1;
  strip->setGeometry(facilityLeft, stripTop, std::max(0, width() - 4 - facilityLeft),
                     kStripHeight);
  const QSize maker = makerLogo->pixmap().size();
  makerLogo->setGeometry(width() - maker.width(), kTop, maker.width(), maker.height());
}

}  // namespace quorrel
