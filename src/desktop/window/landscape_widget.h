// The window's client area: shows the frame's surface and hands the mouse,
// Esc and size changes to the frame.
#pragma once

#include <QWidget>

namespace wandrix {
class Frame;
}

namespace wandrix::desktop {

class LandscapeWidget : public QWidget {
  Q_OBJECT

 public:
  explicit LandscapeWidget(QWidget* parent = nullptr);
  void attach(Frame& frame);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Frame* frame_ = nullptr;
};

}  // namespace wandrix::desktop
