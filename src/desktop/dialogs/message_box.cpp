#include "message_box.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>
#include <algorithm>

namespace wandrix {
namespace {

// Room for the caption in a title bar: the text in the program's font made
// bold (title fonts mostly are, and rarely larger), beside the window icon
// and up to three buttons of about a line's height.
int caption_width(const QString& caption) {
  QFont font = QApplication::font();
  font.setBold(true);
  const QFontMetrics metrics(font);
  return metrics.horizontalAdvance(caption) + 6 * metrics.height();
}

}  // namespace

void show_message_box(QWidget* owner, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
  int width = caption_width(caption);
  if (const QScreen* screen = owner != nullptr ? owner->screen() : QApplication::primaryScreen()) {
    width = std::min(width, screen->availableGeometry().width() * 9 / 10);
  }
  // A message box sizes itself from its layout: an empty item as wide as
  // the caption needs keeps it from being narrower.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
  box.exec();
  return_focus(owner);
}

void return_focus(QWidget* owner) {
  if (owner == nullptr) {
    return;
  }
  QWidget* window = owner->window();
  // Another modal window may be open still (a box over a dialog over the
  // main window): then that one keeps the focus.
  const QWidget* modal = QApplication::activeModalWidget();
  if (!window->isVisible() || (modal != nullptr && modal != window)) {
    return;
  }
  window->activateWindow();
}

}  // namespace wandrix
