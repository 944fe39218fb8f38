#include "desktop/window/main_window.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "app/menu_table.h"

namespace wandrix::desktop {

namespace {

QString text_of(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool checkable(int id) {
  return (id >= command::kShowChain1 && id < command::kShowChain1 + kMaxChains) ||
         (id >= command::kOneChain && id < command::kOneChain + kMaxChains) ||
         id == command::kShowAllChains || id == command::kDensityView ||
         id == command::kRefuseAtWalls;
}

}  // namespace

MainWindow::MainWindow(Simulation& sim, QWidget* parent)
    : QMainWindow(parent),
      landscape_(new LandscapeWidget(this)),
      host_(this, landscape_),
      frame_(sim, host_) {
  setWindowTitle(QStringLiteral("Wandrix"));
  sim.set_host(host_);
  host_.attach(frame_, sim);
  landscape_->attach(frame_);
  setCentralWidget(landscape_);
  build_menus();
  build_accelerators();
}

MainWindow::~MainWindow() { frame_.simulation().set_host(null_host()); }

void MainWindow::build_menus() {
  for (const MenuPopup& popup : menu_bar()) {
    QMenu* menu = menuBar()->addMenu(text_of(popup.title));
    popups_.push_back(menu);
    connect(menu, &QMenu::aboutToShow, this, &MainWindow::apply_menu_rules);
    for (const MenuItem& item : popup.items) {
      if (item.separator()) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(text_of(item.text));
      action->setCheckable(checkable(item.id));
      if (!item.shortcut.empty()) {
        action->setShortcut(QKeySequence(text_of(item.shortcut)));
      }
      const int id = item.id;
      connect(action, &QAction::triggered, this, [this, id] { run_command(id); });
      actions_[id] = action;
    }
  }
}

// Keys whose menu item does not show them (or that have no item) act through
// actions of the window itself, so the menus read exactly as the table says.
void MainWindow::build_accelerators() {
  for (const Accelerator& accelerator : accelerators()) {
    const MenuItem* item = find_menu_item(accelerator.id);
    if (item != nullptr && item->shortcut == accelerator.keys) {
      continue;
    }
    auto* action = new QAction(this);
    action->setShortcut(QKeySequence(text_of(accelerator.keys)));
    action->setShortcutContext(Qt::WindowShortcut);
    const int id = accelerator.id;
    connect(action, &QAction::triggered, this, [this, id] { run_command(id); });
    addAction(action);
    if (actions_.count(id) == 0) {
      actions_[id] = action;
    }
  }
}

void MainWindow::apply_menu_rules() {
  for (const MenuItemState& state : menu_state(frame_.simulation())) {
    auto it = actions_.find(state.id);
    if (it != actions_.end()) {
      it->second->setChecked(state.checked);
      it->second->setEnabled(state.enabled);
    }
  }
}

void MainWindow::run_command(int id) {
  if (frame_.command(id) == FrameResult::quit) {
    emit quit_requested();
  }
}

QAction* MainWindow::action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

QMenu* MainWindow::popup(int index) const {
  return index >= 0 && index < static_cast<int>(popups_.size()) ? popups_[index] : nullptr;
}

void MainWindow::show_at_start() {
  move(kInitialLeft, kInitialTop);
  resize(kInitialOuterSize, kInitialOuterSize);
  show();
  // The frame's decorations are known only once the window manager has
  // framed the window.
  QTimer::singleShot(0, this, &MainWindow::fit_outer_size);
}

void MainWindow::fit_outer_size() {
  const QSize decorations = frameGeometry().size() - geometry().size();
  if (decorations.width() > 0 || decorations.height() > 0) {
    resize(QSize(kInitialOuterSize, kInitialOuterSize) - decorations);
  }
}

}  // namespace wandrix::desktop
