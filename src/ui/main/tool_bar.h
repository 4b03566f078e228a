#pragma once
// The tool bar along the top of the main window: the command buttons, a separator, and the
// two logos with the strip below the facility logo.

#include <QLabel>
#include <QWidget>

class QFrame;
class QToolButton;

namespace quorrel {

//! A picture that reports the mouse moving over it and a button released over it.
class LogoImage : public QLabel {
  Q_OBJECT

 public:
  explicit LogoImage(QWidget* parent = nullptr);

 signals:
  void hovered();
  void released();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class ToolbarPanel : public QWidget {
  Q_OBJECT

 public:
  explicit ToolbarPanel(QWidget* parent = nullptr);

  QToolButton* btnLoadRefl;
  QToolButton* btnLoadModel;
  QToolButton* btnSave;
  QToolButton* btnPrint;
  QToolButton* btnCalculateProfile;
  QToolButton* btnCalculateRefl;
  QToolButton* btnFit;
  QToolButton* btnSettings;
  QFrame* separator;
  LogoImage* facilityLogo;
  LogoImage* strip;  //!< acts as the facility logo
  LogoImage* makerLogo;

  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void placeLogos();
};

}  // namespace quorrel
