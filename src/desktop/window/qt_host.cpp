#include "desktop/window/qt_host.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <algorithm>

#include "app/frame.h"
#include "desktop/dialogs/dialogs.h"
#include "desktop/dialogs/message_box.h"
#include "desktop/window/diagnostics_window.h"
#include "desktop/window/html_handler.h"
#include "desktop/window/lesson_chooser.h"
#include "png/png_encoder.h"

namespace wandrix::desktop {

namespace {

QByteArray bytes(const std::vector<std::uint8_t>& data) {
  return {reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size())};
}

}  // namespace

QString name_filter(const FileFilter& filter) {
  // The descriptions already end with their pattern in parentheses, which is
  // what Qt filters by (without regard to case, as the program always has).
  QString description = QString::fromStdString(filter.description);
  if (description.endsWith(')')) {
    return description;
  }
  return description + " (" + QString::fromStdString(filter.pattern).toLower() + ')';
}

QtHost::QtHost(QWidget* owner, QWidget* view) : owner_(owner), view_(view) {}

void QtHost::attach(Frame& frame, Simulation& sim) {
  frame_ = &frame;
  sim_ = &sim;
  frame.on_rendered([this] {
    if (diagnostics_) {
      diagnostics_->model_changed();
    }
  });
  tick_timer_.setSingleShot(true);
  QObject::connect(&tick_timer_, &QTimer::timeout, [this] {
    frame_->tick();
    if (after_tick_) {
      after_tick_();
    }
  });
}

bool QtHost::request_tick(int milliseconds) {
  if (frame_ == nullptr) {
    return false;
  }
  tick_timer_.start(milliseconds);
  return true;
}

void QtHost::set_cursor(Cursor cursor) {
  if (cursor == cursor_) {
    return;
  }
  if (cursor_ != Cursor::arrow) {
    QGuiApplication::restoreOverrideCursor();
  }
  cursor_ = cursor;
  if (cursor != Cursor::arrow) {
    QGuiApplication::setOverrideCursor(cursor == Cursor::wait ? Qt::WaitCursor : Qt::CrossCursor);
  }
}

void QtHost::invalidate() {
  if (frame_ != nullptr) {
    frame_->request_paint();
  }
  show_surface();
}

void QtHost::show_surface() {
  if (view_) {
    view_->update();
  }
}

void QtHost::message_box(const std::string& text, const std::string& caption) {
  // A box about what the user did in the diagnostics window (its Copy)
  // belongs to that window: it opens over it, and closing it gives that
  // window the keyboard back instead of raising the landscape over it.
  QWidget* owner = owner_;
  if (diagnostics_ && diagnostics_->isActiveWindow()) {
    owner = diagnostics_;
  }
  show_message_box(owner, QString::fromStdString(text), QString::fromStdString(caption));
}

void QtHost::set_clipboard_text(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

bool QtHost::set_clipboard_picture(const PictureData& picture) {
  auto* data = new QMimeData;  // the clipboard takes ownership
  if (!picture.emf.empty()) {
    data->setData(QStringLiteral("image/emf"), bytes(picture.emf));
    data->setData(QStringLiteral("image/x-emf"), bytes(picture.emf));
  }
  if (!picture.svg.empty()) {
    data->setData(QStringLiteral("image/svg+xml"), QByteArray::fromStdString(picture.svg));
  }
  if (!picture.png.empty()) {
    data->setData(QStringLiteral("image/png"), bytes(picture.png));
  }
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setMimeData(data);
  const QMimeData* now = clipboard->mimeData();
  return now != nullptr && !now->formats().isEmpty();
}

Rect QtHost::resize_client(int width, int height) {
  if (!owner_ || !view_) {
    return {0, 0, width, height};
  }
  QWidget* window = owner_->window();
  if (window->isMaximized() || window->isFullScreen()) {
    return {0, 0, view_->width(), view_->height()};  // the window keeps its size
  }
  // What the window adds around the landscape: menu bar, title and borders.
  const QSize around = window->frameGeometry().size() - view_->size();
  const QScreen* screen = window->screen();
  const QRect room = screen != nullptr
                         ? screen->availableGeometry()
                         : QRect(0, 0, width + around.width(), height + around.height());
  const QSize client(std::clamp(width, 1, std::max(1, room.width() - around.width())),
                     std::clamp(height, 1, std::max(1, room.height() - around.height())));
  window->resize(window->size() + client - view_->size());
  // Kept on the screen: moved back where the larger frame would leave it.
  const QPoint corner = window->frameGeometry().topLeft();
  window->move(
      std::clamp(corner.x(), room.left(),
                 std::max(room.left(), room.right() + 1 - client.width() - around.width())),
      std::clamp(corner.y(), room.top(),
                 std::max(room.top(), room.bottom() + 1 - client.height() - around.height())));
  return {0, 0, client.width(), client.height()};
}

void QtHost::capture_mouse(bool on) {
  if (!view_) {
    return;
  }
  if (on) {
    view_->grabMouse();
  } else {
    view_->releaseMouse();
  }
}

std::optional<std::string> QtHost::file_dialog(const FileDialogRequest& request) {
  QFileDialog dialog(owner_);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // Saving onto an existing file asks nothing, as the program always has.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(request.for_open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(request.for_open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  QStringList filters;
  for (const FileFilter& filter : request.filters) {
    filters << name_filter(filter);
  }
  dialog.setNameFilters(filters);
  // "All (*.*)" means every file, as it always has; Qt would list only the
  // names with a dot. The text stays, the model behind it lists everything.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& chosen) {
                     if (chosen.endsWith(QStringLiteral("(*.*)"))) {
                       if (auto* model = dialog.findChild<QFileSystemModel*>()) {
                         model->setNameFilters({QStringLiteral("*")});
                       }
                     }
                   });
  dialog.setDefaultSuffix(QString::fromStdString(request.default_extension));
  dialog.setDirectory(QString::fromStdString(request.folder));
  const bool picked = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  return_focus(owner_);
  if (!picked) {
    return std::nullopt;
  }
  const QString chosen = dialog.selectedFiles().constFirst();
  // Like the platform's dialogs, browsing leaves the working directory in the
  // folder of the chosen file; the help page is looked for there first.
  QDir::setCurrent(QFileInfo(chosen).absolutePath());
  return QDir::toNativeSeparators(chosen).toStdString();
}

ScreenMetrics QtHost::screen_metrics() const {
  const QScreen* screen = view_ ? view_->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return {};
  }
  ScreenMetrics metrics;
  metrics.width_px = screen->size().width();
  metrics.height_px = screen->size().height();
  metrics.width_mm = static_cast<int>(screen->physicalSize().width());
  metrics.height_mm = static_cast<int>(screen->physicalSize().height());
  if (metrics.width_px <= 0 || metrics.height_px <= 0 || metrics.width_mm <= 0 ||
      metrics.height_mm <= 0) {
    return {};  // a screen that does not know its size: take the usual one
  }
  return metrics;
}

std::optional<std::vector<std::uint8_t>> QtHost::encode_png(const std::uint32_t* pixels, int width,
                                                            int height) {
  // The command-line tool's encoder, so that a copied or saved picture has
  // the same bytes as the one the tool writes.
  return wandrix::encode_png(pixels, width, height);
}

std::string QtHost::working_directory() const { return QDir::currentPath().toStdString(); }

std::string QtHost::program_directory() const {
  return QCoreApplication::applicationDirPath().toStdString();
}

ProgramLookup QtHost::find_associated_program(const std::string& file, const std::string& folder) {
  return find_html_handler(file, folder);
}

void QtHost::start_detached(const std::vector<std::string>& argv) {
  if (argv.empty()) {
    return;
  }
  QStringList arguments;
  for (auto it = argv.begin() + 1; it != argv.end(); ++it) {
    arguments << QString::fromStdString(*it);
  }
  QProcess::startDetached(QString::fromStdString(argv.front()), arguments);
}

DialogResult QtHost::run_robot_options_dialog() {
  return wandrix::run_robot_options_dialog(owner_, *sim_) != 0 ? DialogResult::ok
                                                               : DialogResult::cancel;
}

DialogResult QtHost::run_hill_dialog() {
  return wandrix::run_hill_dialog(owner_, *sim_) ? DialogResult::ok : DialogResult::cancel;
}

void QtHost::run_about_box() { wandrix::run_about_box(owner_); }

void QtHost::show_diagnostics() {
  if (sim_ == nullptr) {
    return;
  }
  if (!diagnostics_) {
    // A child of the main window: it stays above it and closes with it.
    diagnostics_ = new DiagnosticsWindow(*sim_, owner_);
  }
  diagnostics_->present();
}

std::optional<std::size_t> QtHost::choose_lesson(const std::vector<LessonItem>& lessons) {
  return run_lesson_chooser(owner_, lessons);
}

void QtHost::show_lesson(const std::string& title, const std::vector<std::string>& paragraphs) {
  auto* window = qobject_cast<QMainWindow*>(owner_.data());
  if (window == nullptr || !view_ || frame_ == nullptr) {
    return;
  }
  if (!lesson_panel_) {
    lesson_panel_ = new LessonPanel(window, view_, [this] {
      const RasterCanvas& surface = frame_->surface();
      return QSize(surface.width(), surface.height());
    });
  }
  lesson_panel_->present(title, paragraphs);
}

}  // namespace wandrix::desktop
