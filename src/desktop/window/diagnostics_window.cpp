#include "desktop/window/diagnostics_window.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include "desktop/window/surface_image.h"
#include "view/diagnostics.h"
#include "view/picture_export.h"

namespace wandrix::desktop {

DiagnosticsWindow::DiagnosticsWindow(Simulation& sim, QWidget* owner)
    : QWidget(owner, Qt::Window), sim_(sim), view_(sim) {
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
}

void DiagnosticsWindow::model_changed() {
  view_.model_changed();
  if (!isVisible() || redraw_.isActive()) {
    return;
  }
  redraw_.start(view_.redraw_delay(DiagnosticsView::Clock::now()));
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

void DiagnosticsWindow::paintEvent(QPaintEvent* /*event*/) {
  view_.render(width(), height());
  QPainter painter(this);
  painter.drawImage(0, 0, surface_image(view_.surface()));
}

void DiagnosticsWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace wandrix::desktop
