#include "desktop/window/diagnostics_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "desktop/window/surface_image.h"
#include "view/diagnostics.h"

namespace wandrix::desktop {

DiagnosticsWindow::DiagnosticsWindow(Simulation& sim, QWidget* owner)
    : QWidget(owner, Qt::Window), sim_(sim) {
  setWindowTitle(QString::fromUtf8(kDiagnosticsTitle));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(160, 120);
}

void DiagnosticsWindow::model_changed() {
  stale_ = true;
  if (isVisible()) {
    update();
  }
}

void DiagnosticsWindow::present() {
  if (!placed_) {
    placed_ = true;
    const Rect picture = diagnostics_picture_rect(sim_);
    QSize size(picture.width(), picture.height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      size = size.boundedTo(screen->availableSize() * 9 / 10);
    }
    resize(size);
  }
  show();
  raise();
  activateWindow();
}

void DiagnosticsWindow::render() {
  if (!stale_ && surface_.width() == width() && surface_.height() == height()) {
    return;
  }
  surface_.resize(width(), height());
  draw_diagnostics(sim_, surface_, Rect{0, 0, width(), height()});
  stale_ = false;
}

void DiagnosticsWindow::paintEvent(QPaintEvent* /*event*/) {
  render();
  QPainter painter(this);
  painter.drawImage(0, 0, surface_image(surface_));
}

void DiagnosticsWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace wandrix::desktop
