#include "ui/main/splash_screen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QThread>

#include "ui/main/artwork.h"

namespace quorrel {

namespace {

constexpr int kFrames[] = {2, 3, 4, 5, 4, 3, 2, 1};
constexpr qint64 kFrameMs = 50;

}  // namespace

SplashScreen::SplashScreen() : image_(SplashImage()) {
  setPixmap(image_);
  drawEye(1);
}

void SplashScreen::animate() {
  ++passes_;
  const int last = static_cast<int>(std::size(kFrames)) - 1;
  for (int i = 0; i <= last; ++i) {
    drawEye(kFrames[i]);
    if (i == last) break;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kFrameMs) {
      QCoreApplication::processEvents();
      QThread::msleep(1);
    }
  }
}

void SplashScreen::drawEye(int frame) {
  QPixmap shown = image_;
  QPainter painter(&shown);
  painter.drawPixmap(kEyeLeft, kEyeTop, EyeImage(frame));
  painter.end();
  setPixmap(shown);
  repaint();
}

}  // namespace quorrel
