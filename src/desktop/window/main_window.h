// The main window: the menu bar and the accelerators built from the menu
// table, the landscape as the central widget, and the Qt side of the Host.
#pragma once

#include <QMainWindow>
#include <map>

#include "app/frame.h"
#include "desktop/window/landscape_widget.h"
#include "desktop/window/qt_host.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;

namespace wandrix::desktop {

inline constexpr int kInitialLeft = 50;
inline constexpr int kInitialTop = 50;
inline constexpr int kInitialOuterSize = 400;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(Simulation& sim, QWidget* parent = nullptr);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Places the window at (50, 50) with an outer size of 400 x 400 as far as
  // the window manager allows, and shows it.
  void show_at_start();
  // What the command line names: the session file, or else the lesson, opened
  // once the window has taken its first size, as the menu would find it.
  void open_at_start(const std::string& file, const std::string& lesson);

  [[nodiscard]] Frame& frame() { return frame_; }
  [[nodiscard]] LandscapeWidget* landscape() { return landscape_; }
  // The action of a menu item or accelerator; nullptr for an unknown id.
  [[nodiscard]] QAction* action(int id) const;
  [[nodiscard]] QMenu* popup(int index) const;
  // Applies the menu rules to every item; done before any popup opens, and
  // whenever a walk begins, goes on or ends.
  void apply_menu_rules();
  // Menus, controls and status bar as the walk now stands.
  void show_walk_state();
  // The status bar: the walk's progress and the rates of the walk.
  [[nodiscard]] QLabel* progress_label() const { return progress_; }
  [[nodiscard]] QLabel* rates_label() const { return rates_; }
  [[nodiscard]] QComboBox* speed_list() const { return speed_; }

 signals:
  // "Exit": the program ends its event loop; the window is not closed first.
  void quit_requested();

 private:
  void build_menus();
  void build_accelerators();
  void build_walk_bars();
  void run_command(int id);
  void fit_outer_size();

  LandscapeWidget* landscape_;
  QtHost host_;
  Frame frame_;
  std::map<int, QAction*> actions_;
  std::vector<QMenu*> popups_;
  QLabel* progress_ = nullptr;
  QLabel* rates_ = nullptr;
  QComboBox* speed_ = nullptr;
};

}  // namespace wandrix::desktop
