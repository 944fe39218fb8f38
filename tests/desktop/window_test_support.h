// Shared by the window's QtTest programs: modal boxes and dialogs answered
// from a timer, the window under test, and pixel counts of its surface.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "desktop/window/main_window.h"
#include "model/simulation.h"
#include "view/raster_canvas.h"

namespace window_test {

using wandrix::Hill;
using wandrix::RasterCanvas;
using wandrix::Simulation;
using wandrix::desktop::MainWindow;

// Answers still waiting for their modal widget; a test that ends with one
// expected a box or dialog that never came.
inline QList<QPointer<QTimer>>& pending_answers() {
  static QList<QPointer<QTimer>> timers;
  return timers;
}

// Acts on the next modal widget once it is shown.
inline void answer_modal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      return;
    }
    timer->stop();
    timer->deleteLater();
    act(modal);
  });
  pending_answers().append(timer);
  timer->start();
}

inline int drop_pending_answers() {
  int pending = 0;
  for (const QPointer<QTimer>& timer : pending_answers()) {
    if (timer && timer->isActive()) {
      ++pending;
      timer->stop();
      timer->deleteLater();
    }
  }
  pending_answers().clear();
  return pending;
}

// Presses OK on the next message box and remembers its caption and text.
struct BoxSeen {
  QString caption;
  QString text;
  int buttons = 0;
  bool icon = false;
};

inline void accept_box(BoxSeen& seen) {
  answer_modal([&seen](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (box == nullptr) {
      w->close();
      return;
    }
    seen.caption = box->windowTitle();
    seen.text = box->text();
    seen.buttons = static_cast<int>(box->buttons().size());
    seen.icon = box->icon() != QMessageBox::NoIcon;
    box->accept();
  });
}

// What a file dialog looked like when it was answered.
struct FileDialogSeen {
  bool found = false;
  bool non_native = false;
  QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
  QStringList filters;
  QString suffix;
  bool typed = false;
  bool accepted = false;
};

// Chooses path in the next file dialog (or cancels it when path is empty),
// noting how the dialog looked; a message box may follow.
inline void answer_file_dialog(const QString& path, FileDialogSeen& seen) {
  answer_modal([path, &seen](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    seen.found = dialog != nullptr;
    if (dialog == nullptr) {
      w->close();
      return;
    }
    seen.non_native = dialog->testOption(QFileDialog::DontUseNativeDialog);
    seen.mode = dialog->acceptMode();
    seen.filters = dialog->nameFilters();
    seen.suffix = dialog->defaultSuffix();
    if (path.isEmpty()) {
      dialog->reject();
      return;
    }
    // Typed into the file name box, as a user would.
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    seen.typed = name != nullptr;
    if (name != nullptr) {
      name->setText(path);
    }
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept is protected
    seen.accepted = !dialog->isVisible();
    if (!seen.accepted) {
      dialog->reject();
    }  // QFileDialog::accept is protected
  });
}

// Opens the popup as a user would.
inline void open_menu(QWidget* window, QMenu* menu) {
  menu->popup(window->mapToGlobal(QPoint(10, 10)));
  QTRY_VERIFY(menu->isVisible());
}

inline void close_menu(QMenu* menu) {
  menu->close();
  QTRY_VERIFY(!menu->isVisible());
}

inline std::uint32_t pixel_sum(const RasterCanvas& surface) {
  std::uint32_t sum = 0;
  for (int i = 0; i < surface.width() * surface.height(); ++i) {
    sum = sum * 31 + surface.pixels()[i];
  }
  return sum;
}

inline int count_pixels(const RasterCanvas& surface, std::uint32_t value) {
  int n = 0;
  for (int i = 0; i < surface.width() * surface.height(); ++i) {
    n += surface.pixels()[i] == value ? 1 : 0;
  }
  return n;
}

// Points the XDG folders at dir, where mimeapps.list names a viewer that
// writes its arguments to args.txt.
inline void install_fake_viewer(const QTemporaryDir& dir) {
  qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
  qputenv("XDG_CONFIG_DIRS", dir.filePath("etc").toLocal8Bit());
  qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
  qputenv("XDG_DATA_DIRS", dir.filePath("share").toLocal8Bit());
  QDir().mkpath(dir.filePath("config"));
  QDir().mkpath(dir.filePath("data/applications"));
  QFile list(dir.filePath("config/mimeapps.list"));
  QVERIFY(list.open(QIODevice::WriteOnly));
  list.write("[Default Applications]\ntext/html=fake-viewer.desktop\n");
  list.close();
  const QString script = dir.filePath("my viewer.sh");
  QFile viewer(script);
  QVERIFY(viewer.open(QIODevice::WriteOnly));
  viewer.write(
      "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.tmp\"\n"
      "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args.txt\"\n");
  viewer.close();
  viewer.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QFile entry(dir.filePath("data/applications/fake-viewer.desktop"));
  QVERIFY(entry.open(QIODevice::WriteOnly));
  entry.write("[Desktop Entry]\nType=Application\nName=Fake\nExec=\"" + script.toLocal8Bit() +
              "\" %u\n");
}

// Lets the event loop run the walk in progress to its end; false when it
// did not end within a minute.
[[nodiscard]] inline bool walk_ends(const Simulation& sim) {
  return QTest::qWaitFor([&sim] { return !sim.walking; }, 60000);
}

// The program's one window over its own Simulation, shown and active.
struct WindowUnderTest {
  std::unique_ptr<Simulation> sim = std::make_unique<Simulation>();
  std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(*sim);

  [[nodiscard]] bool start() {
    window->show_at_start();
    QApplication::setActiveWindow(window.get());
    const bool ready =
        QTest::qWaitForWindowExposed(window.get()) && QTest::qWaitForWindowActive(window.get());
    QApplication::processEvents();
    return ready;
  }

  // Two hills and a walk of 500 steps with one chain.
  void walk_two_hills() {
    sim->hills.push_back(Hill{"west", 120, 200, 40, 40, 0.3, 1, 0});
    sim->hills.push_back(Hill{"east", 290, 150, 30, 50, -0.5, 2, 0});
    sim->normalize_weights();
    sim->ignore_topography = false;
    sim->nsteps = 500;
    window->frame().command(wandrix::command::kStartWalking);
    QVERIFY(walk_ends(*sim));
  }
};

// The window each test function of a QtTest class starts with: the class
// derives from QObject and from this, opens the window in init() and closes
// it in cleanup().
class WindowFixture {
 protected:
  // A fresh window, shown and active.
  [[nodiscard]] bool open_window() {
    under_test_ = std::make_unique<WindowUnderTest>();
    sim_ = under_test_->sim.get();
    window_ = under_test_->window.get();
    return under_test_->start();
  }
  // Closes the window; returns how many boxes and dialogs the test expected
  // that never came.
  [[nodiscard]] int close_window() {
    const int unanswered = drop_pending_answers();
    under_test_.reset();
    return unanswered;
  }

  std::unique_ptr<WindowUnderTest> under_test_;
  Simulation* sim_ = nullptr;
  MainWindow* window_ = nullptr;
};

}  // namespace window_test
