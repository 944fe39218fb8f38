// The window as the screen shows it, under a real window manager: pixels are
// read back from the X server by another program (ImageMagick's import), and
// focus is what openbox says it is. Run through run_on_screen.sh. With
// WANDRIX_SCREENSHOT_DIR set, the pictures are kept there for a person to see.
#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <fstream>

#include "app/menu_table.h"
#include "window_test_support.h"

using namespace wandrix::command;
using namespace window_test;

namespace {

// Pixels of the window as the X server has them, or of the whole screen for
// window id "root"; the part of area inside it when given.
QImage from_screen(const QString& window, const QRect& area = {}) {
  QProcess import;
  import.start(QStringLiteral("import"), {"-window", window, "png:-"});
  if (!import.waitForFinished(20000)) {
    return {};
  }
  QImage image;
  image.loadFromData(import.readAllStandardOutput(), "PNG");
  return area.isNull() ? image : image.copy(area);
}

// What the screen shows of a widget of the main window.
QImage shown(QWidget* widget) {
  QWidget* top = widget->window();
  return from_screen(QString::number(top->winId()),
                     QRect(widget->mapTo(top, QPoint(0, 0)), widget->size()));
}

void keep(const QImage& image, const QString& name) {
  const QString dir = qEnvironmentVariable("WANDRIX_SCREENSHOT_DIR");
  if (!dir.isEmpty()) {
    image.save(dir + '/' + name + ".png");
  }
}

int lit_pixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      n += (image.pixel(x, y) & 0xFFFFFFu) != 0 ? 1 : 0;
    }
  }
  return n;
}

// The window the window manager has made active (_NET_ACTIVE_WINDOW).
WId active_on_screen() {
  QProcess xprop;
  xprop.start(QStringLiteral("xprop"), {"-root", "_NET_ACTIVE_WINDOW"});
  xprop.waitForFinished(5000);
  const QString text = QString::fromLatin1(xprop.readAllStandardOutput());
  bool ok = false;
  const WId id = text.section('#', 1).trimmed().split(',').first().toULongLong(&ok, 16);
  return ok ? id : 0;
}

void write_session(const QString& path, const char* size_line, const char* hill) {
  std::ofstream(path.toStdString()) << "WANDRIX 1.0\n7\n"
                                    << size_line << "\n150  150\n20.00000\n20.00000\n1\n\nh\n"
                                    << hill;
}

// Answers a dialog by a script and every message box with the Return key,
// each only once it is the active window, as a person would.
class KeyboardUser : public QObject {
 public:
  explicit KeyboardUser(std::function<void(QWidget*)> fill) : fill_(std::move(fill)) {
    connect(&timer_, &QTimer::timeout, this, &KeyboardUser::look);
    timer_.start(20);
  }
  int boxes = 0;
  int dialogs = 0;
  QStringList captions;

 private:
  void look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isActiveWindow() || modal->property("answered").toBool()) {
      return;
    }
    modal->setProperty("answered", true);
    if (qobject_cast<QMessageBox*>(modal) != nullptr) {
      ++boxes;
      captions << modal->windowTitle();
    } else {
      ++dialogs;
      fill_(modal);
    }
    // Outside the timer's slot: the key may open the next modal loop.
    QTimer::singleShot(50, modal, [modal] { QTest::keyClick(modal, Qt::Key_Return); });
  }

  std::function<void(QWidget*)> fill_;
  QTimer timer_;
};

}  // namespace

class WindowOnScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void escapeRemovesTheOutlineFromTheScreen();
  void openFitsTheWindowAndCopyHasItsSize();
  void copyOfAHugeLandscapeKeepsTheSession();
  void focusReturnsAfterCorrectionMessages();
  void messageBoxShowsItsWholeCaption();

 private:
  QTemporaryDir dir_;
  std::unique_ptr<WindowUnderTest> under_test_;
  Simulation* sim_ = nullptr;
  MainWindow* window_ = nullptr;
};

void WindowOnScreenTest::init() {
  under_test_ = std::make_unique<WindowUnderTest>();
  sim_ = under_test_->sim.get();
  window_ = under_test_->window.get();
  QVERIFY(under_test_->start());
  QTest::qWait(300);  // framed and placed by the window manager
}

void WindowOnScreenTest::cleanup() {
  const int unanswered = drop_pending_answers();
  under_test_.reset();
  QCOMPARE(unanswered, 0);
}

void WindowOnScreenTest::escapeRemovesTheOutlineFromTheScreen() {
  QWidget* view = window_->landscape();
  QTest::mousePress(view, Qt::LeftButton, {}, {100, 100});
  QTest::mouseMove(view, {130, 60});
  QTest::mouseMove(view, {160, 30});
  QTest::qWait(300);
  const QImage during = shown(view);
  keep(during, "band_during_drag");
  QVERIFY(lit_pixels(during.copy(100, 100, 61, 61)) > 200);  // the square's outline
  QTest::keyClick(view, Qt::Key_Escape);
  QTest::qWait(300);
  const QImage after = shown(view);
  keep(after, "band_after_escape");
  QCOMPARE(lit_pixels(after), 0);
  QVERIFY(sim_->hills.empty());
}

void WindowOnScreenTest::openFitsTheWindowAndCopyHasItsSize() {
  QWidget* view = window_->landscape();
  QVERIFY(view->size() != QSize(400, 300));
  const QString path = dir_.filePath("other.dat");
  write_session(path, "400  300", "300\n100\n30\n30\n0\n1\n");
  FileDialogSeen seen;
  answer_file_dialog(path, seen);
  window_->action(kOpen)->trigger();
  QVERIFY(seen.accepted);
  QTRY_COMPARE(view->size(), QSize(400, 300));
  QTest::qWait(300);
  QCOMPARE(view->size(), QSize(400, 300));
  QCOMPARE(sim_->width, 400.0);
  QCOMPARE(sim_->height, 300.0);
  QCOMPARE(sim_->hills.at(0).mean_x, 300.0);  // where the file put it
  keep(from_screen(QString::number(window_->winId())), "after_open");

  BoxSeen box;
  accept_box(box);
  window_->action(kCopy)->trigger();
  QCOMPARE(box.caption, QString("Copy to clipboard"));
  QImage png;
  QVERIFY(png.loadFromData(QApplication::clipboard()->mimeData()->data("image/png"), "PNG"));
  QCOMPARE(png.size(), QSize(400, 300));
}

void WindowOnScreenTest::copyOfAHugeLandscapeKeepsTheSession() {
  const QString path = dir_.filePath("huge.dat");
  write_session(path, "1000000000  1000000000",
                "500000000\n500000000\n100000000\n100000000\n0\n1\n");
  window_->frame().open_file(path.toStdString());
  QTest::qWait(500);
  QWidget* view = window_->landscape();
  const QSize screen = window_->screen()->availableGeometry().size();
  QVERIFY(view->width() <= screen.width() && view->height() <= screen.height());
  QVERIFY(view->width() > 400);  // as large as the screen allows
  QCOMPARE(sim_->width, static_cast<double>(view->width()));
  QCOMPARE(sim_->height, static_cast<double>(view->height()));
  QCOMPARE(static_cast<int>(sim_->hills.size()), 1);

  BoxSeen box;
  accept_box(box);
  window_->action(kCopy)->trigger();
  QCOMPARE(box.caption, QString("Copy to clipboard"));
  const QMimeData* data = QApplication::clipboard()->mimeData();
  QVERIFY(data->hasFormat("image/emf"));
  QVERIFY(data->data("image/svg+xml").contains("<svg"));
  QImage png;
  QVERIFY(png.loadFromData(data->data("image/png"), "PNG"));
  QCOMPARE(png.size(), view->size());
  QCOMPARE(static_cast<int>(sim_->hills.size()), 1);
  keep(from_screen(QString::number(window_->winId())), "huge_session");
}

// Two corrections after Ok in the hill dialog, each box closed with Return:
// the main window has the keyboard again, every time.
void WindowOnScreenTest::focusReturnsAfterCorrectionMessages() {
  QWidget* view = window_->landscape();
  for (int attempt = 0; attempt < 6; ++attempt) {
    KeyboardUser user([](QWidget* dialog) {
      dialog->findChild<QLineEdit*>(QStringLiteral("edit_mean_x"))->setText("9999");
      dialog->findChild<QLineEdit*>(QStringLiteral("edit_mean_y"))->setText("-5");
    });
    QTest::mousePress(view, Qt::LeftButton, {}, {100, 100});
    QTest::mouseMove(view, {160, 30});
    QTest::mouseRelease(view, Qt::LeftButton, {}, {160, 30});
    QCOMPARE(user.dialogs, 1);
    QCOMPARE(user.boxes, 2);
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == window_, 3000);
    QTest::qWait(200);
    QCOMPARE(QApplication::activeWindow(), window_);
    QCOMPARE(active_on_screen(), window_->winId());
  }
  QCOMPARE(static_cast<int>(sim_->hills.size()), 6);
}

// The window manager cuts a title that does not fit; the box is made wide
// enough for its caption in the title font (openbox: sans, 8 points, bold).
void WindowOnScreenTest::messageBoxShowsItsWholeCaption() {
  QRect frame;
  QImage picture;
  KeyboardUser user([](QWidget* dialog) {
    dialog->findChild<QLineEdit*>(QStringLiteral("edit_nsteps"))->setText("0");
  });
  auto* measure = new QTimer(window_);
  connect(measure, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box != nullptr && box->isActiveWindow() && frame.isNull()) {
      frame = box->frameGeometry();
      picture = from_screen(QStringLiteral("root"), frame);
    }
  });
  measure->start(10);
  window_->action(kOptions)->trigger();
  measure->stop();
  QCOMPARE(user.captions, QStringList{"Parameter must be greater than or equal to 1"});
  keep(picture, "message_box");
  QFont title(QStringLiteral("Sans"), 8, QFont::Bold);
  const int caption = QFontMetrics(title).horizontalAdvance(user.captions.first());
  // The label shares the title bar with the icon and the buttons.
  QVERIFY2(frame.width() >= caption + 100,
           qPrintable(QString("box %1 wide, caption %2").arg(frame.width()).arg(caption)));
}

QTEST_MAIN(WindowOnScreenTest)
#include "window_on_screen_test.moc"
