#include "desktop/window/diagnostics_window.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "desktop/window/surface_image.h"
#include "view/diagnostics.h"
#include "view/picture_export.h"

namespace wandrix::desktop {

DiagnosticsWindow::DiagnosticsWindow(Simulation& sim, QWidget* owner)
    : QWidget(owner, Qt::Window), sim_(sim) {
  setWindowTitle(QString::fromUtf8(kDiagnosticsTitle));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(160, 120);
  auto* copy_action = new QAction(QStringLiteral("&Copy"), this);
  copy_action->setShortcut(QKeySequence::Copy);
  copy_action->setShortcutContext(Qt::WindowShortcut);
  connect(copy_action, &QAction::triggered, this, &DiagnosticsWindow::copy);
  addAction(copy_action);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  redraw_.setSingleShot(true);
  connect(&redraw_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
  clock_.start();
}

void DiagnosticsWindow::model_changed() {
  stale_ = true;
  if (!isVisible() || redraw_.isActive()) {
    return;
  }
  // Twice the last drawing's time must pass after it before the next.
  const qint64 wait = last_end_ + 2 * last_duration_ - clock_.elapsed();
  redraw_.start(static_cast<int>(std::clamp<qint64>(wait, 0, 2000)));
}

void DiagnosticsWindow::copy() { copy_diagnostics(sim_, Rect{0, 0, width(), height()}); }

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
  const qint64 start = clock_.elapsed();
  surface_.resize(width(), height());
  draw_diagnostics(sim_, surface_, Rect{0, 0, width(), height()});
  stale_ = false;
  last_end_ = clock_.elapsed();
  last_duration_ = last_end_ - start;
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
