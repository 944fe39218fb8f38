// What the X server shows, for the tests run through run_on_screen.sh:
// pixels read back by another program (ImageMagick's import), so that a
// stale screen is seen as the user would see it.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QWidget>

#include "view/raster_canvas.h"

namespace screen_test {

// Pixels of the X window with this id ("root": the whole screen), or of the
// part of it inside area when given.
inline QImage from_screen(const QString& window, const QRect& area = {}) {
  QProcess import;
  import.start(QStringLiteral("import"), {"-window", window, "png:-"});
  if (!import.waitForFinished(20000)) {
    return {};
  }
  QImage image;
  image.loadFromData(import.readAllStandardOutput(), "PNG");
  image = image.convertToFormat(QImage::Format_RGB32);
  return area.isNull() ? image : image.copy(area);
}

// What the screen shows of a widget.
inline QImage shown(const QWidget* widget) {
  const QWidget* top = widget->window();
  return from_screen(QString::number(top->winId()),
                     QRect(widget->mapTo(top, QPoint(0, 0)), widget->size()));
}

// Kept in $WANDRIX_SCREENSHOT_DIR, when set, for a person to look at.
inline void keep(const QImage& image, const QString& name) {
  const QString dir = qEnvironmentVariable("WANDRIX_SCREENSHOT_DIR");
  if (!dir.isEmpty()) {
    image.save(dir + '/' + name + ".png");
  }
}

// Pixels whose colours differ; -1 when the sizes do.
inline int differing_pixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) {
    return -1;
  }
  int n = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      n += (a.pixel(x, y) & 0xFFFFFFu) != (b.pixel(x, y) & 0xFFFFFFu) ? 1 : 0;
    }
  }
  return n;
}

// A copy of a core surface's pixels, to compare with the screen.
inline QImage image_of(const wandrix::RasterCanvas& canvas) {
  return QImage(reinterpret_cast<const uchar*>(canvas.pixels()), canvas.width(), canvas.height(),
                static_cast<qsizetype>(canvas.width()) * 4, QImage::Format_RGB32)
      .copy();
}

}  // namespace screen_test
