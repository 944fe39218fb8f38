#include "desktop/window/main_window.h"

#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/menu_table.h"

namespace wandrix::desktop {

namespace {

QString text_of(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool checkable(int id) {
  return (id >= command::kShowChain1 && id < command::kShowChain1 + kMaxChains) ||
         (id >= command::kOneChain && id < command::kOneChain + kMaxChains) ||
         id == command::kShowAllChains || id == command::kPauseWalking ||
         id == command::kDensityView || id == command::kRefuseAtWalls;
}

// The walk's controls in the status bar, with the icons of a media player.
struct WalkControl {
  int id;
  QStyle::StandardPixmap icon;
};
constexpr WalkControl kWalkControls[] = {
    {command::kAnimateWalking, QStyle::SP_MediaPlay},
    {command::kPauseWalking, QStyle::SP_MediaPause},
    {command::kSingleStep, QStyle::SP_MediaSkipForward},
    {command::kStopWalking, QStyle::SP_MediaStop},
};

// A label that gives up width rather than widen the window; the whole text
// is in its tool tip.
QLabel* status_label(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  label->setMinimumWidth(1);
  return label;
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
  build_walk_bars();
  host_.on_tick([this] { show_walk_state(); });
  show_walk_state();
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

void MainWindow::build_walk_bars() {
  // The controls of a media player, in a small tool bar under the menus.
  QToolBar* controls = addToolBar(QStringLiteral("Walk"));
  controls->setObjectName(QStringLiteral("walk_controls"));
  controls->setMovable(false);
  controls->setFloatable(false);
  controls->setIconSize(QSize(16, 16));
  controls->toggleViewAction()->setEnabled(false);  // no way to lose it by a right click
  for (const WalkControl& control : kWalkControls) {
    QAction* action = actions_.at(control.id);
    action->setIcon(style()->standardIcon(control.icon));
    controls->addAction(action);
    if (QWidget* button = controls->widgetForAction(action)) {
      button->setFocusPolicy(Qt::NoFocus);
    }
  }
  speed_ = new QComboBox(controls);
  speed_->setFocusPolicy(Qt::NoFocus);
  speed_->setToolTip(QStringLiteral("Steps per second of Animate walking"));
  for (int k = 0; k <= kFastestSpeed; ++k) {
    speed_->addItem(QString::fromStdString(speed_text(k)));
  }
  connect(speed_, &QComboBox::activated, this,
          [this](int index) { run_command(command::kWalkSpeed + index); });
  controls->addWidget(speed_);
  // Two lines at the bottom: how far the walk has come, and its rates.
  auto* texts = new QWidget(this);
  auto* lines = new QVBoxLayout(texts);
  lines->setContentsMargins(0, 0, 0, 0);
  lines->setSpacing(0);
  progress_ = status_label(texts);
  rates_ = status_label(texts);
  lines->addWidget(progress_);
  lines->addWidget(rates_);
  statusBar()->addWidget(texts, 1);
  statusBar()->setSizeGripEnabled(false);
}

void MainWindow::show_walk_state() {
  apply_menu_rules();
  const QString progress = QString::fromStdString(frame_.progress_text());
  const QString rates = QString::fromStdString(frame_.rates_text());
  progress_->setText(progress.isEmpty() ? QStringLiteral("Ready") : progress);
  progress_->setToolTip(progress_->text());
  rates_->setText(rates);
  rates_->setToolTip(rates);
  speed_->setCurrentIndex(frame_.player().speed());
}

void MainWindow::apply_menu_rules() {
  for (const MenuItemState& state : frame_.menu_state()) {
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
    return;
  }
  show_walk_state();
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

void MainWindow::open_at_start(const std::string& file, const std::string& lesson) {
  if (!file.empty()) {
    QTimer::singleShot(0, this, [this, file] {
      frame_.open_file(file);
      show_walk_state();
    });
  } else if (!lesson.empty()) {
    QTimer::singleShot(0, this, [this, lesson] {
      frame_.open_lesson_named(lesson);
      show_walk_state();  // the lesson's speed
    });
  }
}

void MainWindow::fit_outer_size() {
  const QSize decorations = frameGeometry().size() - geometry().size();
  if (decorations.width() > 0 || decorations.height() > 0) {
    resize(QSize(kInitialOuterSize, kInitialOuterSize) - decorations);
  }
}

}  // namespace wandrix::desktop
