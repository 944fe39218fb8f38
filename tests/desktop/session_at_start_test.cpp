// `wandrix FILE`: the session named on the command line opens in the real
// window as "Open..." would, hills drawn, or the error box says why not.
#include "app/menu_table.h"
#include "window_test_support.h"

using namespace window_test;

class SessionAtStartTest : public QObject, public WindowFixture {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void sessionOpensWithItsHillsDrawn();
  void badFileShowsTheErrorBox();

 private:
  QString write(const QString& name, const QByteArray& bytes);
  QTemporaryDir dir_;
};

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kContourYellow = 0xFFFFFF00u;

const QByteArray kTwoHills =
    "WANDRIX 1.0\n2024\n400  400\n150  150\n20.00000\n20.00000\n2\n"
    "\nwest\n120.00000\n200.00000\n40.00000\n40.00000\n0.30000\n1.00000\n"
    "\neast\n290.00000\n150.00000\n30.00000\n50.00000\n-0.50000\n2.00000\n";

}  // namespace

void SessionAtStartTest::init() {
  QVERIFY(dir_.isValid());
  QVERIFY(open_window());
}

void SessionAtStartTest::cleanup() {
  QCOMPARE(close_window(), 0);  // every box the test expected came
}

QString SessionAtStartTest::write(const QString& name, const QByteArray& bytes) {
  QFile file(dir_.filePath(name));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    return {};
  }
  return file.fileName();
}

void SessionAtStartTest::sessionOpensWithItsHillsDrawn() {
  const QString path = write("lecture.dat", kTwoHills);
  QVERIFY(!path.isEmpty());
  const RasterCanvas& surface = window_->frame().surface();
  QTRY_COMPARE(count_pixels(surface, kBlack), surface.width() * surface.height());

  window_->frame().open_file(path.toStdString());
  QCOMPARE(static_cast<int>(sim_->hills.size()), 2);
  QCOMPARE(sim_->rn_seed, 2024);
  QCOMPARE(QString::fromStdString(sim_->session_file), path);
  // The window repaints by itself: both hills' contours appear.
  QTRY_VERIFY(count_pixels(surface, kContourYellow) > 200);
}

void SessionAtStartTest::badFileShowsTheErrorBox() {
  const QString path = write("measurements.dat", "time value\n1 2\n");
  QVERIFY(!path.isEmpty());
  BoxSeen seen;
  accept_box(seen);
  window_->frame().open_file(path.toStdString());
  QCOMPARE(seen.caption, QString("Error reading data file"));
  QCOMPARE(seen.text, QString("Data file does not appear to be an WANDRIX data file"));
  QCOMPARE(seen.buttons, 1);
  QVERIFY(sim_->hills.empty());
  QVERIFY(sim_->session_file.empty());
  const RasterCanvas& surface = window_->frame().surface();
  QTRY_COMPARE(count_pixels(surface, kBlack), surface.width() * surface.height());
}

QTEST_MAIN(SessionAtStartTest)
#include "session_at_start_test.moc"
