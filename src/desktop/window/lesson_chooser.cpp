#include "desktop/window/lesson_chooser.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "desktop/dialogs/message_box.h"

namespace wandrix::desktop {

namespace {

constexpr int kSummaryRole = Qt::UserRole + 1;
constexpr int kMargin = 6;  // around an item's text, and between its lines
constexpr int kWidthInCharacters = 60;

QString text_of(const std::string& text) { return QString::fromStdString(text); }

QFont bold(QFont font) {
  font.setBold(true);
  return font;
}

// Title in bold, first sentence below it wrapped to the list's width: a
// teacher reads the whole sentence without hovering.
class LessonDelegate : public QStyledItemDelegate {
 public:
  explicit LessonDelegate(QListWidget* list) : QStyledItemDelegate(list), list_(list) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();  // the background, selection and focus, without text
    const QWidget* widget = item.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QPalette::ColorGroup group =
        (option.state & QStyle::State_Active) != 0 ? QPalette::Active : QPalette::Inactive;
    painter->save();
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect text = option.rect.adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QFont title_font = bold(option.font);
    const int title_height = QFontMetrics(title_font).height();
    painter->setFont(title_font);
    painter->drawText(
        QRect(text.left(), text.top(), text.width(), title_height),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        QFontMetrics(title_font)
            .elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, text.width()));
    painter->setFont(option.font);
    painter->drawText(text.adjusted(0, title_height + kMargin / 2, 0, 0),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                      index.data(kSummaryRole).toString());
    painter->restore();
  }

  [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                               const QModelIndex& index) const override {
    const int width = list_->viewport()->width();
    return {width, item_height(option.font, index.data(kSummaryRole).toString(), width)};
  }

  // The height of an item whose summary wraps within a list viewport this wide.
  static int item_height(const QFont& font, const QString& summary, int viewport_width) {
    const QRect wrapped = QFontMetrics(font).boundingRect(
        QRect(0, 0, std::max(1, viewport_width - 2 * kMargin), INT_MAX),
        Qt::AlignLeft | Qt::TextWordWrap, summary);
    return QFontMetrics(bold(font)).height() + kMargin / 2 + wrapped.height() + 2 * kMargin;
  }

 private:
  QListWidget* list_;
};

}  // namespace

LessonChooser::LessonChooser(const std::vector<LessonItem>& lessons, QWidget* owner)
    : QDialog(owner), list_(new QListWidget(this)) {
  setWindowTitle(QString::fromUtf8(kLessonChooserTitle));
  list_->setObjectName(QStringLiteral("lesson_list"));
  list_->setItemDelegate(new LessonDelegate(list_));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setResizeMode(QListView::Adjust);  // the sentences wrap again at a new width
  list_->setWordWrap(true);
  for (const LessonItem& lesson : lessons) {
    auto* item = new QListWidgetItem(text_of(lesson.title), list_);
    item->setData(kSummaryRole, text_of(lesson.summary));
    item->setData(Qt::AccessibleTextRole, text_of(lesson.title + ": " + lesson.summary));
    item->setToolTip(text_of(lesson.summary));
  }
  auto* label =
      new QLabel(QStringLiteral("&Choose a lesson to open its session and read it:"), this);
  label->setBuddy(list_);

  auto* buttons = new QDialogButtonBox(this);
  open_ = buttons->addButton(QStringLiteral("&Open"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  open_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(list_, &QListWidget::itemSelectionChanged, this,
          [this] { open_->setEnabled(chosen().has_value()); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);

  if (list_->count() > 0) {
    list_->setCurrentRow(0);
  }
  open_->setEnabled(chosen().has_value());
  list_->setFocus();

  // Wide enough to read a sentence in two or three lines, high enough to
  // show every lesson without scrolling, as far as the screen allows. The
  // list is not laid out before it is shown: its width is worked out here.
  const int width = fontMetrics().averageCharWidth() * kWidthInCharacters;
  const QMargins margins = layout->contentsMargins();
  const int viewport = width - margins.left() - margins.right() - 2 * list_->frameWidth();
  int rows = 0;
  for (int row = 0; row < list_->count(); ++row) {
    rows += LessonDelegate::item_height(list_->font(),
                                        list_->item(row)->data(kSummaryRole).toString(), viewport);
  }
  QSize size(width, margins.top() + label->sizeHint().height() + layout->spacing() + rows +
                        2 * list_->frameWidth() + layout->spacing() + buttons->sizeHint().height() +
                        margins.bottom());
  if (const QScreen* screen = owner != nullptr ? owner->screen() : QApplication::primaryScreen()) {
    size = size.boundedTo(screen->availableSize() * 4 / 5);
  }
  resize(size);
}

std::optional<std::size_t> LessonChooser::chosen() const {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(list_->row(selected.constFirst()));
}

std::optional<std::size_t> run_lesson_chooser(QWidget* owner,
                                              const std::vector<LessonItem>& lessons) {
  LessonChooser chooser(lessons, owner);
  const bool opened = chooser.exec() == QDialog::Accepted;
  return_focus(owner);
  return opened ? chooser.chosen() : std::nullopt;
}

}  // namespace wandrix::desktop
