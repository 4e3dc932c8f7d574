#include "monitor/event_row_delegate.h"

#include <QFontDatabase>
#include <QPainter>

#include "monitor/event_text.h"

namespace zelta::monitor {

EventRowDelegate::EventRowDelegate(QObject* parent)
    : QStyledItemDelegate(parent), fixed_(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {}

void EventRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  const QVariant background = index.data(Qt::BackgroundRole);
  if (selected)
    painter->fillRect(option.rect, option.palette.highlight());
  else if (background.isValid())
    painter->fillRect(option.rect, background.value<QBrush>());
  painter->save();
  painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->setFont(index.column() == int(Column::Bytes) ? fixed_ : option.font);
  const QVariant alignment = index.data(Qt::TextAlignmentRole);
  const int flags = alignment.isValid() ? alignment.toInt() : int(Qt::AlignLeft | Qt::AlignVCenter);
  painter->drawText(option.rect.adjusted(4, 0, -4, 0), flags | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
  painter->restore();
}

}  // namespace zelta::monitor
