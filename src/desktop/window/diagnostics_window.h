// Show > Diagnostics...: a window of its own beside the landscape, not modal,
// that shows the core's diagnostics picture at its size and draws it again
// whenever the landscape was drawn again (a walk, a clear, a new hill) and
// whenever it is resized. Esc closes it; the menu opens it again.
#pragma once

#include <QWidget>

#include "view/raster_canvas.h"

namespace wandrix {
class Simulation;
}

namespace wandrix::desktop {

inline constexpr char kDiagnosticsTitle[] = "Wandrix diagnostics";

class DiagnosticsWindow : public QWidget {
  Q_OBJECT

 public:
  DiagnosticsWindow(Simulation& sim, QWidget* owner);

  // The model changed: draw again before the next show.
  void model_changed();
  // Shown, in front and active; first at the picture's own size as far as
  // the screen allows.
  void present();
  // The picture as last shown.
  [[nodiscard]] const RasterCanvas& surface() const { return surface_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void render();

  Simulation& sim_;
  RasterCanvas surface_;
  bool stale_ = true;
  bool placed_ = false;
};

}  // namespace wandrix::desktop
