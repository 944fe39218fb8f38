// Show > Diagnostics...: a window of its own beside the landscape, not modal,
// that shows the core's diagnostics picture at its size and draws it again
// whenever the landscape was drawn again (a walk, a clear, a new hill) and
// whenever it is resized. Copy (Ctrl+C, and in its context menu) puts the
// picture on the clipboard as the landscape's Copy does. Esc closes it; the
// menu opens it again.
#pragma once

#include <QTimer>
#include <QWidget>

#include "app/diagnostics_view.h"

namespace wandrix::desktop {

inline constexpr char kDiagnosticsTitle[] = "Wandrix diagnostics";

class DiagnosticsWindow : public QWidget {
  Q_OBJECT

 public:
  DiagnosticsWindow(Simulation& sim, QWidget* owner);

  // The model changed: draw again. While the model changes faster than the
  // picture draws (an animated walk of a million samples), at most a third
  // of the time goes to drawing it, so the landscape keeps moving.
  void model_changed();
  // Shown, in front and active; first at the picture's own size as far as
  // the screen allows.
  void present();
  // The picture as last shown, and the model it shows.
  [[nodiscard]] const RasterCanvas& surface() const { return view_.surface(); }
  [[nodiscard]] const Simulation& simulation() const { return sim_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void copy();

  Simulation& sim_;
  DiagnosticsView view_;
  bool placed_ = false;
  QTimer redraw_;
};

}  // namespace wandrix::desktop
