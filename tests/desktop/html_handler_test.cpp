// The desktop's HTML viewer found the freedesktop way, in throwaway XDG
// folders: mimeapps.list names a desktop entry whose Exec line is the command.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "desktop/window/html_handler.h"

using namespace wandrix;
using namespace wandrix::desktop;

class HtmlHandlerTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void folderAndPageAreCheckedFirst();
  void noAssociationGives31();
  void associationGivesTheExecCommand();
  void entryWithoutExecGivesBadFormat();
  void nestedDesktopIdIsFound();

 private:
  void write(const QString& path, const QByteArray& text);
  QString page_folder() const { return root_->filePath("pages"); }

  std::unique_ptr<QTemporaryDir> root_;
};

void HtmlHandlerTest::write(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

void HtmlHandlerTest::init() {
  root_ = std::make_unique<QTemporaryDir>();
  QVERIFY(root_->isValid());
  // Only our folders count: the machine's own associations stay out.
  qputenv("XDG_CONFIG_HOME", root_->filePath("config").toLocal8Bit());
  qputenv("XDG_CONFIG_DIRS", root_->filePath("etc").toLocal8Bit());
  qputenv("XDG_DATA_HOME", root_->filePath("data").toLocal8Bit());
  qputenv("XDG_DATA_DIRS", root_->filePath("share").toLocal8Bit());
  qputenv("HOME", root_->path().toLocal8Bit());
  QDir().mkpath(root_->filePath("config"));
  write(page_folder() + "/Wandrix.html", "<html></html>");
}

void HtmlHandlerTest::folderAndPageAreCheckedFirst() {
  QCOMPARE(find_html_handler("Wandrix.html", root_->filePath("missing").toStdString()).code, 3);
  QCOMPARE(find_html_handler("Other.html", page_folder().toStdString()).code, 2);
}

void HtmlHandlerTest::noAssociationGives31() {
  QCOMPARE(find_html_handler("Wandrix.html", page_folder().toStdString()).code, 31);
}

void HtmlHandlerTest::associationGivesTheExecCommand() {
  write(root_->filePath("config/mimeapps.list"),
        "[Default Applications]\ntext/html=viewer.desktop;\n");
  write(root_->filePath("share/applications/viewer.desktop"),
        "[Desktop Entry]\nType=Application\nName=Viewer\n"
        "Exec=\"/opt/My Viewer/view\" --new-tab %u\n"
        "[Desktop Action other]\nExec=wrong\n");
  const ProgramLookup lookup = find_html_handler("Wandrix.html", page_folder().toStdString());
  QVERIFY(lookup.code > 32);
  QCOMPARE(QString::fromStdString(lookup.program), QString("/opt/My Viewer/view"));
  QCOMPARE(lookup.command.size(), std::size_t{3});
  QCOMPARE(QString::fromStdString(lookup.command[2]), QString("%u"));
}

void HtmlHandlerTest::entryWithoutExecGivesBadFormat() {
  write(root_->filePath("config/mimeapps.list"),
        "[Default Applications]\ntext/html=broken.desktop\n");
  write(root_->filePath("data/applications/broken.desktop"),
        "[Desktop Entry]\nType=Application\nName=Broken\n");
  QCOMPARE(find_html_handler("Wandrix.html", page_folder().toStdString()).code, 11);
}

void HtmlHandlerTest::nestedDesktopIdIsFound() {
  write(root_->filePath("config/mimeapps.list"),
        "[Default Applications]\ntext/html=kde-browser.desktop\n");
  write(root_->filePath("share/applications/kde/browser.desktop"),
        "[Desktop Entry]\nType=Application\nName=Browser\nExec=browser\n");
  const ProgramLookup lookup = find_html_handler("Wandrix.html", page_folder().toStdString());
  QVERIFY(lookup.code > 32);
  QCOMPARE(QString::fromStdString(lookup.program), QString("browser"));
}

QTEST_GUILESS_MAIN(HtmlHandlerTest)
#include "html_handler_test.moc"
