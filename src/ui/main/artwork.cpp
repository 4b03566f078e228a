#include "ui/main/artwork.h"

#include <algorithm>
#include <cmath>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quorrel {

namespace {

constexpr int kIconSize = 24;
const QColor kInk(40, 60, 90);
const QColor kAccent(0, 120, 200);
const QColor kPaper(250, 250, 245);

//! A reflectivity-like curve across `rect`: a plateau, then fringes that decay.
QPainterPath FringeCurve(const QRectF& rect) {
  QPainterPath path;
  for (int i = 0; i <= 60; ++i) {
    const double t = i / 60.0;
    const double edge = 0.18;
    double y = 0.05;
    if (t > edge) {
      const double decay = std::pow((t - edge) / (1 - edge), 0.6);
      y = 0.05 + 0.85 * decay + 0.08 * (1 - decay) * std::sin(28 * (t - edge));
    }
    const QPointF point(rect.left() + t * rect.width(), rect.top() + y * rect.height());
    if (i == 0) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
  }
  return path;
}

void DrawFolder(QPainter& p, const QColor& fill) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(fill);
  QPainterPath folder;
  folder.moveTo(2, 6);
  folder.lineTo(9, 6);
  folder.lineTo(11, 8);
  folder.lineTo(22, 8);
  folder.lineTo(22, 20);
  folder.lineTo(2, 20);
  folder.closeSubpath();
  p.drawPath(folder);
}

void DrawToolIcon(QPainter& p, ToolIcon icon) {
  p.setRenderHint(QPainter::Antialiasing);
  switch (icon) {
    case ToolIcon::LoadData:
      DrawFolder(p, QColor(250, 215, 110));
      p.setBrush(kInk);
      p.setPen(Qt::NoPen);
      for (int i = 0; i < 4; ++i) p.drawEllipse(QPointF(6 + 4 * i, 11 + 2.2 * i), 1.4, 1.4);
      break;
    case ToolIcon::LoadModel:
      DrawFolder(p, QColor(250, 215, 110));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(120, 170, 220));
      p.drawRect(QRectF(6, 11, 12, 2.5));
      p.setBrush(QColor(200, 120, 90));
      p.drawRect(QRectF(6, 14, 12, 2.5));
      break;
    case ToolIcon::Save:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(90, 130, 190));
      p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
      p.setBrush(kPaper);
      p.drawRect(QRectF(7, 3, 10, 7));
      p.drawRect(QRectF(6, 13, 12, 8));
      break;
    case ToolIcon::Print:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(kPaper);
      p.drawRect(QRectF(7, 2, 10, 7));
      p.setBrush(QColor(160, 165, 175));
      p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
      p.setBrush(kPaper);
      p.drawRect(QRectF(7, 15, 10, 7));
      break;
    case ToolIcon::CalculateProfile: {
      p.setPen(QPen(kInk, 1));
      p.drawLine(QPointF(3, 21), QPointF(21, 21));
      p.drawLine(QPointF(3, 21), QPointF(3, 3));
      QPainterPath steps;
      steps.moveTo(4, 18);
      steps.cubicTo(7, 18, 7, 8, 10, 8);
      steps.cubicTo(13, 8, 13, 13, 16, 13);
      steps.cubicTo(19, 13, 19, 6, 21, 6);
      p.setPen(QPen(QColor(0, 140, 80), 2));
      p.drawPath(steps);
      break;
    }
    case ToolIcon::CalculateReflectivity:
      p.setPen(QPen(kInk, 1));
      p.drawLine(QPointF(3, 21), QPointF(21, 21));
      p.drawLine(QPointF(3, 21), QPointF(3, 3));
      p.setPen(QPen(kAccent, 2));
      p.drawPath(FringeCurve(QRectF(4, 4, 17, 15)));
      break;
    case ToolIcon::Fit:
      p.setPen(QPen(kAccent, 2));
      p.drawPath(FringeCurve(QRectF(3, 4, 18, 15)));
      p.setPen(QPen(QColor(200, 40, 40), 1.3));
      p.setBrush(Qt::NoBrush);
      for (const QPointF& point : {QPointF(6, 5.5), QPointF(10, 9.5), QPointF(14, 14), QPointF(19, 17)}) {
        p.drawEllipse(point, 1.8, 1.8);
      }
      break;
    case ToolIcon::Settings:
      p.setPen(QPen(kInk, 1.5));
      for (int i = 0; i < 3; ++i) {
        const double y = 6 + 6 * i;
        p.drawLine(QPointF(3, y), QPointF(21, y));
      }
      p.setBrush(kAccent);
      p.drawRect(QRectF(6, 4, 4, 4));
      p.drawRect(QRectF(14, 10, 4, 4));
      p.drawRect(QRectF(9, 16, 4, 4));
      break;
  }
}

}  // namespace

QIcon ToolBarIcon(ToolIcon icon) {
  QIcon result;
  for (const int scale : {1, 2}) {
    QPixmap pixmap(kIconSize * scale, kIconSize * scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.scale(scale, scale);
    DrawToolIcon(painter, icon);
    painter.end();
    pixmap.setDevicePixelRatio(scale);
    result.addPixmap(pixmap);
  }
  return result;
}

QIcon ProgramIcon() {
  QIcon result;
  for (const int size : {16, 32, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 40, 80));
    p.drawRoundedRect(QRectF(1, 1, 22, 22), 4, 4);
    p.setPen(QPen(QColor(255, 230, 120), 2));
    p.drawPath(FringeCurve(QRectF(4, 5, 16, 14)));
    p.end();
    result.addPixmap(pixmap);
  }
  return result;
}

QPixmap SplashImage() {
  QPixmap image(420, 240);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 240);
  sky.setColorAt(0, QColor(20, 40, 80));
  sky.setColorAt(1, QColor(40, 110, 170));
  p.fillRect(image.rect(), sky);
  // A thin film on its substrate, with an incoming and a reflected beam.
  p.fillRect(QRectF(0, 190, 420, 50), QColor(70, 70, 80));
  p.fillRect(QRectF(0, 180, 420, 10), QColor(150, 190, 230));
  p.setPen(QPen(QColor(255, 230, 120), 3));
  p.drawLine(QPointF(40, 60), QPointF(210, 180));
  p.drawLine(QPointF(210, 180), QPointF(380, 60));
  p.setPen(QPen(QColor(255, 255, 255, 120), 2));
  p.drawPath(FringeCurve(QRectF(230, 95, 170, 70)));
  p.setPen(Qt::white);
  p.setFont(QFont("Sans", 30, QFont::Bold));
  p.drawText(QRectF(0, 90, 420, 50), Qt::AlignCenter, "Quorrel");
  p.setFont(QFont("Sans", 10));
  p.drawText(QRectF(0, 135, 420, 20), Qt::AlignCenter,
             "reflectivity of X-rays and neutrons from thin films");
  p.end();
  return image;
}

QPixmap EyeImage(int frame) {
  QPixmap image(12, 12);
  image.fill(QColor(20, 40, 80));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 230, 120));
  // The lid closes from frame 1 (open) to frame 5 (shut).
  const double open = 1.0 - (std::clamp(frame, 1, 5) - 1) / 4.0;
  p.drawEllipse(QRectF(1, 6 - 5 * open, 10, std::max(1.0, 10 * open)));
  if (open > 0.3) {
    p.setBrush(QColor(20, 40, 80));
    p.drawEllipse(QPointF(6, 6), 2, 2 * open);
  }
  p.end();
  return image;
}

QPixmap FacilityLogo() {
  QPixmap image(82, 26);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(0, 110, 90));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRectF(1, 1, 24, 24));
  p.setPen(QPen(Qt::white, 2));
  p.drawLine(QPointF(7, 18), QPointF(13, 8));
  p.drawLine(QPointF(13, 8), QPointF(19, 18));
  p.setPen(QColor(0, 90, 75));
  p.setFont(QFont("Sans", 10, QFont::Bold));
  p.drawText(QRectF(28, 0, 54, 26), Qt::AlignVCenter | Qt::AlignLeft, "Keldan");
  p.end();
  return image;
}

QPixmap MakerLogo() {
  QPixmap image(76, 26);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(170, 60, 20), 2.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(2, 2, 22, 22));
  p.drawLine(QPointF(13, 2), QPointF(13, 24));
  p.setPen(QColor(140, 50, 15));
  p.setFont(QFont("Sans", 10, QFont::Bold));
  p.drawText(QRectF(27, 0, 49, 26), Qt::AlignVCenter | Qt::AlignLeft, "Ostral");
  p.end();
  return image;
}

}  // namespace quorrel
