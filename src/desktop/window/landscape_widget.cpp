#include "desktop/window/landscape_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include "app/frame.h"
#include "desktop/window/surface_image.h"

namespace wandrix::desktop {

namespace {

Point client_point(const QMouseEvent* event) {
  // Signed: while the mouse is captured it may be left of or above us.
  const QPoint p = event->position().toPoint();
  return {p.x(), p.y()};
}

// Hands a button event to the frame's handler for that button; other
// buttons do nothing.
void forward_button(Frame* frame, const QMouseEvent* event, void (Frame::*left)(Point),
                    void (Frame::*right)(Point)) {
  if (frame == nullptr) {
    return;
  }
  if (event->button() == Qt::LeftButton) {
    (frame->*left)(client_point(event));
  } else if (event->button() == Qt::RightButton) {
    (frame->*right)(client_point(event));
  }
}

}  // namespace

LandscapeWidget::LandscapeWidget(QWidget* parent) : QWidget(parent) {
  // The surface covers every pixel: no background to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(1, 1);
}

void LandscapeWidget::attach(Frame& frame) { frame_ = &frame; }

void LandscapeWidget::paintEvent(QPaintEvent* /*event*/) {
  if (frame_ == nullptr) {
    return;
  }
  frame_->render();
  QPainter painter(this);
  painter.drawImage(0, 0, surface_image(frame_->surface()));
}

void LandscapeWidget::resizeEvent(QResizeEvent* event) {
  if (frame_ != nullptr) {
    frame_->size(event->size().width(), event->size().height(), window()->isMinimized());
  }
  QWidget::resizeEvent(event);
}

void LandscapeWidget::mousePressEvent(QMouseEvent* event) {
  forward_button(frame_, event, &Frame::left_press, &Frame::right_press);
}

void LandscapeWidget::mouseReleaseEvent(QMouseEvent* event) {
  forward_button(frame_, event, &Frame::left_release, &Frame::right_release);
}

void LandscapeWidget::mouseMoveEvent(QMouseEvent* event) {
  if (frame_ != nullptr) {
    frame_->mouse_move(client_point(event));
  }
}

void LandscapeWidget::keyPressEvent(QKeyEvent* event) {
  if (frame_ != nullptr && event->key() == Qt::Key_Escape) {
    frame_->key_char(kEscape);
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace wandrix::desktop
