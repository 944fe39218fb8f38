// Mouse drags on the real window with real mouse events: a left drag makes a
// hill, a right drag turns the 3-D view.
#include <QAction>
#include <QClipboard>
#include <QMenuBar>
#include <QMimeData>

#include "app/menu_table.h"
#include "model/portable_math.h"
#include "window_test_support.h"

using namespace wandrix::command;
using namespace window_test;

class WindowMouseTest : public QObject, public WindowFixture {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void leftDragMakesAHillThatOkKeeps();
  void leftDragHillIsDroppedOnCancel();
  void escapeAbandonsTheBand();
  void rightDragWithRotationTurnsTheView();
  void rightReleaseWithoutRotationShowsTheBox();

 private:
  void make_hill_by_drag(QPoint from, QPoint to, bool ok);
};

void WindowMouseTest::init() { QVERIFY(open_window()); }

void WindowMouseTest::cleanup() {
  QCOMPARE(close_window(), 0);  // every box and dialog the test expected came
}

void WindowMouseTest::make_hill_by_drag(QPoint from, QPoint to, bool ok) {
  QWidget* view = window_->landscape();
  answer_modal([ok](QWidget* dialog) {
    auto* d = qobject_cast<QDialog*>(dialog);
    if (d == nullptr) {
      dialog->close();
      return;
    }
    if (ok) {
      d->accept();
    } else {
      d->reject();
    }
  });
  QTest::mousePress(view, Qt::LeftButton, {}, from);
  QTest::mouseMove(view, QPoint((from.x() + to.x()) / 2, to.y()));
  QTest::mouseMove(view, to);
  QTest::mouseRelease(view, Qt::LeftButton, {}, to);
}

void WindowMouseTest::leftDragMakesAHillThatOkKeeps() {
  const int h = static_cast<int>(sim_->height);
  make_hill_by_drag({100, 100}, {160, 30}, true);
  QCOMPARE(static_cast<int>(sim_->hills.size()), 1);
  QCOMPARE(sim_->hills[0].mean_x, 130.0);
  QCOMPARE(sim_->hills[0].mean_y, static_cast<double>(h - 130));
  QCOMPARE(sim_->hills[0].stddev_x, 30.0);
  QVERIFY(!sim_->ignore_topography);
  // The contours appear in yellow once the window repaints.
  window_->landscape()->repaint();
  QVERIFY(count_pixels(window_->frame().surface(), 0xFFFFFF00u) > 0);
}

void WindowMouseTest::leftDragHillIsDroppedOnCancel() {
  make_hill_by_drag({100, 100}, {160, 30}, true);
  make_hill_by_drag({200, 200}, {250, 30}, false);
  QCOMPARE(static_cast<int>(sim_->hills.size()), 1);
  QCOMPARE(sim_->current_hill, 0);
}

void WindowMouseTest::escapeAbandonsTheBand() {
  QWidget* view = window_->landscape();
  view->repaint();
  const std::uint32_t before = pixel_sum(window_->frame().surface());
  QTest::mousePress(view, Qt::LeftButton, {}, QPoint(50, 50));
  QTest::mouseMove(view, QPoint(120, 60));
  QVERIFY(pixel_sum(window_->frame().surface()) != before);  // the outline shows
  QTest::keyClick(view, Qt::Key_Escape);
  QVERIFY(!window_->frame().mouse().band.active());
  QCOMPARE(pixel_sum(window_->frame().surface()), before);
  QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(120, 60));
  QVERIFY(sim_->hills.empty());
}

void WindowMouseTest::rightDragWithRotationTurnsTheView() {
  under_test_->walk_two_hills();
  window_->action(kToggleRotation)->trigger();  // clears; walk again in 3-D
  window_->action(kStartWalking)->trigger();
  QVERIFY(walk_ends(*sim_));
  QWidget* view = window_->landscape();
  view->repaint();
  const std::uint32_t flat = pixel_sum(window_->frame().surface());
  QTest::mousePress(view, Qt::RightButton, {}, QPoint(200, 150));
  for (int i = 1; i <= 8; ++i) {
    QTest::mouseMove(view, QPoint(200 + 3 * i, 150 - 2 * i));
  }
  QVERIFY(window_->frame().mouse().rotating);
  QTest::mouseRelease(view, Qt::RightButton, {}, QPoint(224, 134));
  QVERIFY(!window_->frame().mouse().rotating);
  QCOMPARE(sim_->angle_y, -8 * wandrix::kPi / 64);
  QCOMPARE(sim_->angle_x, 8 * wandrix::kPi / 64);
  QVERIFY(window_->frame().paint_pending());
  view->repaint();
  QVERIFY(pixel_sum(window_->frame().surface()) != flat);
}

void WindowMouseTest::rightReleaseWithoutRotationShowsTheBox() {
  BoxSeen seen;
  accept_box(seen);
  QWidget* view = window_->landscape();
  QTest::mousePress(view, Qt::RightButton, {}, QPoint(20, 20));
  QVERIFY(seen.caption.isEmpty());
  QTest::mouseRelease(view, Qt::RightButton, {}, QPoint(20, 20));
  QCOMPARE(seen.caption, QString("Rotation not allowed"));
  QVERIFY(seen.text.startsWith("Check \"allow rotation\" in robot options dialog\n"));
  QCOMPARE(seen.buttons, 1);
  QVERIFY(!seen.icon);
}

QTEST_MAIN(WindowMouseTest)
#include "window_mouse_test.moc"
