#pragma once
// The picture shown while the program starts, with its blinking eye.

#include <QSplashScreen>

namespace quorrel {

class SplashScreen : public QSplashScreen {
  Q_OBJECT

 public:
  SplashScreen();

  //! One pass of the eye: eight frames, 50 ms apart (none after the last), waiting by
  //! polling the clock while pending events are processed.
  void animate();
  //! How many passes ran.
  int passes() const { return passes_; }

 private:
  void drawEye(int frame);

  QPixmap image_;
  int passes_ = 0;
};

}  // namespace quorrel
