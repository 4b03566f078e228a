#pragma once
// A plot written to a picture file whose extension says its kind.

#include <QSize>
#include <QString>

class QCustomPlot;

namespace quorrel {

//! ".pdf" and ".svg" as vector drawings of `size` points (the SVG titled `title`), ".png" as
//! `size` pixels. False when the kind is unknown or the file could not be written.
bool SavePlot(QCustomPlot& plot, const QString& fileName, QSize size, const QString& title);

}  // namespace quorrel
