// The Qt side of the platform services, one by one.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include "desktop/window/qt_host.h"

using namespace wandrix;
using namespace wandrix::desktop;

class QtHostTest : public QObject {
  Q_OBJECT

 private slots:
  void cursorsNestNoOverrides();
  void clipboardPictureOffersEveryForm();
  void pngEncodesTheSurfaceExactly();
  void screenMetricsArePositive();
  void nameFiltersReadAsTheProgramWritesThem();
  void allFilterListsFilesWithoutADot();
};

void QtHostTest::cursorsNestNoOverrides() {
  QWidget owner;
  QtHost host(&owner, &owner);
  host.set_cursor(Cursor::wait);
  QVERIFY(QGuiApplication::overrideCursor() != nullptr);
  QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  host.set_cursor(Cursor::wait);  // a paint inside a walk asks again
  host.set_cursor(Cursor::cross);
  QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
  host.set_cursor(Cursor::arrow);
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);  // none left behind
}

void QtHostTest::clipboardPictureOffersEveryForm() {
  QWidget owner;
  QtHost host(&owner, &owner);
  PictureData picture;
  picture.emf = {1, 0, 0, 0, 9};
  picture.svg = "<svg/>";
  picture.png = {0x89, 'P', 'N', 'G'};
  QVERIFY(host.set_clipboard_picture(picture));
  const QMimeData* data = QApplication::clipboard()->mimeData();
  QCOMPARE(data->data("image/emf"), QByteArray("\x01\x00\x00\x00\x09", 5));
  QCOMPARE(data->data("image/x-emf"), data->data("image/emf"));
  QCOMPARE(data->data("image/svg+xml"), QByteArray("<svg/>"));
  QCOMPARE(data->data("image/png"), QByteArray("\x89PNG"));
  host.set_clipboard_text("Number of points sampled: 0");
  QCOMPARE(QApplication::clipboard()->text(), QString("Number of points sampled: 0"));
}

void QtHostTest::pngEncodesTheSurfaceExactly() {
  QWidget owner;
  QtHost host(&owner, &owner);
  const std::uint32_t pixels[6] = {0xFF000000u, 0xFFFFFF00u, 0xFF0000FFu,
                                   0xFFFFFFFFu, 0xFF123456u, 0xFF808080u};
  const auto png = host.encode_png(pixels, 3, 2);
  QVERIFY(png.has_value());
  QImage image;
  QVERIFY(image.loadFromData(png->data(), static_cast<int>(png->size()), "PNG"));
  QCOMPARE(image.size(), QSize(3, 2));
  QCOMPARE(image.pixel(1, 0), 0xFFFFFF00u);
  QCOMPARE(image.pixel(1, 1), 0xFF123456u);
}

void QtHostTest::screenMetricsArePositive() {
  QWidget owner;
  QtHost host(&owner, &owner);
  const ScreenMetrics metrics = host.screen_metrics();
  QVERIFY(metrics.width_px > 0 && metrics.height_px > 0);
  QVERIFY(metrics.width_mm > 0 && metrics.height_mm > 0);
}

void QtHostTest::nameFiltersReadAsTheProgramWritesThem() {
  QCOMPARE(name_filter({"Data file (*.dat)", "*.DAT"}), QString("Data file (*.dat)"));
  QCOMPARE(name_filter({"All (*.*)", "*.*"}), QString("All (*.*)"));
  QCOMPARE(name_filter({"Pictures", "*.PNG"}), QString("Pictures (*.png)"));
}

// "All (*.*)" means every file, as it always has, not only names with a dot.
void QtHostTest::allFilterListsFilesWithoutADot() {
  QTemporaryDir dir;
  for (const char* name : {"README", "run.dat", "notes.txt"}) {
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
  }
  QWidget owner;
  QtHost host(&owner, &owner);
  QStringList listed;
  QString shown;
  QTimer::singleShot(50, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    auto* model = dialog->findChild<QFileSystemModel*>();
    QVERIFY(types != nullptr && model != nullptr);
    types->setFocus();
    QTest::keyClick(types, Qt::Key_Down);  // as a user picks the second filter
    shown = types->currentText();
    const QModelIndex folder = model->index(dir.path());
    QTRY_VERIFY(model->rowCount(folder) > 0);
    QTest::qWait(200);
    for (int row = 0; row < model->rowCount(folder); ++row) {
      const QModelIndex file = model->index(row, 0, folder);
      if (model->flags(file).testFlag(Qt::ItemIsEnabled)) {
        listed << file.data().toString();
      }
    }
    dialog->reject();
  });
  host.file_dialog({true,
                    {{"Data file (*.dat)", "*.DAT"}, {"All (*.*)", "*.*"}},
                    "dat",
                    dir.path().toStdString()});
  QCOMPARE(shown, QString("All (*.*)"));
  listed.sort();
  QCOMPARE(listed, QStringList({"README", "notes.txt", "run.dat"}));
}

QTEST_MAIN(QtHostTest)
#include "qt_host_test.moc"
