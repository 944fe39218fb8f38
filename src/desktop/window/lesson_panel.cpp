#include "desktop/window/lesson_panel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace wandrix::desktop {

namespace {

constexpr int kWidthInCharacters = 44;
// How long the landscape waits at most for the window manager to give the
// window its new width; a manager that refuses the size answers sooner.
constexpr int kHoldLimitMs = 2000;

QString html_of(const QString& title, const std::vector<std::string>& paragraphs) {
  QString html = "<h3>" + title.toHtmlEscaped() + "</h3>";
  for (const std::string& paragraph : paragraphs) {
    html += "<p>" + QString::fromStdString(paragraph).toHtmlEscaped() + "</p>";
  }
  return html;
}

}  // namespace

LessonPanel::LessonPanel(QMainWindow* window, QWidget* landscape, std::function<QSize()> wanted)
    : QDockWidget(QString::fromUtf8(kLessonPanelTitle), window),
      window_(window),
      landscape_(landscape),
      wanted_(std::move(wanted)),
      text_(new QTextBrowser),
      close_(new QPushButton(QStringLiteral("Close"))),
      width_(fontMetrics().averageCharWidth() * kWidthInCharacters) {
  setObjectName(QStringLiteral("lesson_panel"));
  setFeatures(QDockWidget::DockWidgetClosable);  // it stays where the width is accounted for
  setAllowedAreas(Qt::RightDockWidgetArea);

  text_->setObjectName(QStringLiteral("lesson_text"));
  text_->setOpenLinks(false);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  auto* content = new QWidget(this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_, 1);
  layout->addLayout(buttons);
  setWidget(content);
  connect(close_, &QPushButton::clicked, this, &QDockWidget::close);
  // Esc closes the panel while the keyboard is in it; in the landscape it
  // still stops the walk.
  auto* escape = new QAction(this);
  escape->setShortcut(Qt::Key_Escape);
  escape->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(escape, &QAction::triggered, this, &QDockWidget::close);
  addAction(escape);

  hold_.setSingleShot(true);
  connect(&hold_, &QTimer::timeout, this, &LessonPanel::release_landscape);
  setVisible(false);
  window->addDockWidget(Qt::RightDockWidgetArea, this);
}

void LessonPanel::present(const std::string& title, const std::vector<std::string>& paragraphs) {
  title_ = QString::fromStdString(title);
  text_->setHtml(html_of(title_, paragraphs));
  show();
  raise();
}

void LessonPanel::setVisible(bool visible) {
  const bool resizable =
      landscape_ && window_->isVisible() && !window_->isMaximized() && !window_->isFullScreen();
  const bool opening = visible && !widened_ && resizable;
  const bool closing = !visible && widened_ && isVisibleTo(window_);
  if (!opening && !closing) {
    QDockWidget::setVisible(visible);
    return;
  }
  int extra_width = extra_width_;
  if (opening) {
    extra_width_ = window_->width() - landscape_->width();
    const int separator =
        window_->style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, window_);
    extra_width = extra_width_ + width_ + separator;
  } else {
    width_ = width();
  }
  widened_ = opening;
  if (!resizable) {
    QDockWidget::setVisible(visible);
    return;
  }
  // The landscape is held before the window's layout hears of the change:
  // showing or hiding a dock widget lays the window out at once.
  const QSize landscape = wanted_().isEmpty() ? landscape_->size() : wanted_();
  const QRect frame = window_->frameGeometry();
  const QSize decorations = frame.size() - window_->size();
  const QScreen* screen = window_->screen();
  const QRect room = screen != nullptr ? screen->availableGeometry() : frame;
  // Menus and bars above and below: the window's height for the landscape's.
  const QSize wanted(landscape.width() + extra_width,
                     landscape.height() + window_->height() - landscape_->height());
  const QSize size = wanted.boundedTo(room.size() - decorations);
  if (size == wanted) {
    hold_landscape(landscape, size);
  }
  QDockWidget::setVisible(visible);
  window_->resize(size);
  // Kept on the screen: moved left as far as the wider frame needs.
  const int right = frame.left() + size.width() + decorations.width();
  if (right > room.right() + 1) {
    window_->move(std::max(room.left(), room.right() + 1 - size.width() - decorations.width()),
                  frame.top());
  }
}

void LessonPanel::hold_landscape(QSize landscape, QSize window_size) {
  if (!hold_.isActive()) {
    held_minimum_ = landscape_->minimumSize();
    held_maximum_ = landscape_->maximumSize();
  }
  landscape_->setFixedSize(landscape);
  target_ = window_size;
  if (QWindow* handle = window_->windowHandle()) {
    handle->installEventFilter(this);
  }
  hold_.start(kHoldLimitMs);
}

bool LessonPanel::eventFilter(QObject* watched, QEvent* event) {
  // The window system's size, not the one asked for: the window manager
  // has answered when it reports the new size.
  if (event->type() == QEvent::Resize && watched == window_->windowHandle() &&
      static_cast<QResizeEvent*>(event)->size() == target_) {
    QTimer::singleShot(0, this, &LessonPanel::release_landscape);
  }
  return QDockWidget::eventFilter(watched, event);
}

void LessonPanel::release_landscape() {
  if (QWindow* handle = window_->windowHandle()) {
    handle->removeEventFilter(this);
  }
  if (!hold_.isActive()) {
    return;
  }
  hold_.stop();
  // The panel keeps the width it has now, so the landscape keeps the rest,
  // instead of the layout going back to the panel's size hint.
  if (isVisible()) {
    window_->resizeDocks({this}, {width()}, Qt::Horizontal);
  }
  if (landscape_) {
    landscape_->setMinimumSize(held_minimum_);
    landscape_->setMaximumSize(held_maximum_);
  }
}

}  // namespace wandrix::desktop
