// A lesson's text beside the landscape: a panel docked on the right of the
// main window with the lesson's title and paragraphs (wrapped, selectable,
// scrolled when long) and a Close button. Another lesson replaces the text.
//
// The panel adds its width to the window instead of taking it from the
// landscape, and closing it gives the width back: the landscape keeps its
// size, so the model is never rescaled and the picture never drawn again
// because the text came or went. Only when the window cannot grow (maximised,
// full screen, or at the screen's edge) does the landscape give way. Resizing
// the window or dragging the panel's edge resizes the landscape as ever.
#pragma once

#include <QDockWidget>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

class QMainWindow;
class QPushButton;
class QTextBrowser;

namespace wandrix::desktop {

inline constexpr char kLessonPanelTitle[] = "Lesson";

class LessonPanel : public QDockWidget {
  Q_OBJECT

 public:
  // landscape is the window's central widget, whose size the panel keeps;
  // wanted tells the size the landscape has been given last, which the
  // widget reaches only once the window manager has resized the window.
  LessonPanel(QMainWindow* window, QWidget* landscape, std::function<QSize()> wanted);

  // Shows the lesson, opening the panel when it is closed.
  void present(const std::string& title, const std::vector<std::string>& paragraphs);

  [[nodiscard]] QString title() const { return title_; }
  [[nodiscard]] QTextBrowser* text() const { return text_; }
  [[nodiscard]] QPushButton* close_button() const { return close_; }
  // True while the landscape is held at its size for a resize of the window
  // that the window manager has not yet confirmed.
  [[nodiscard]] bool holding_landscape() const { return hold_.isActive(); }
  // Shown or hidden in any way (present, Close, Esc, the dock's own close
  // box, a tool bar's menu): the window widens or narrows with it.
  void setVisible(bool visible) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The landscape at that size until the window system reports the
  // window at window_size: answers to earlier resizes may still be on their
  // way, and each would resize the landscape (rescaling the model) for a
  // moment.
  void hold_landscape(QSize landscape, QSize window_size);
  void release_landscape();

  QMainWindow* window_;
  QPointer<QWidget> landscape_;
  std::function<QSize()> wanted_;
  QTextBrowser* text_;
  QPushButton* close_;
  QString title_;
  int width_;             // the panel's own, kept from one opening to the next
  bool widened_ = false;  // the window has grown by the panel's width
  int extra_width_ = 0;   // what the window adds beside the landscape and the panel
  QSize target_;
  QSize held_minimum_;
  QSize held_maximum_;
  QTimer hold_;
};

}  // namespace wandrix::desktop
