// Paints the frame monitor's cells plainly: background, one line of text
// clipped to the cell. The standard delegate lays out and elides every cell
// on every repaint, which costs far more than the table's few visible rows
// are worth while frames stream in.
#pragma once

#include <QFont>
#include <QStyledItemDelegate>

namespace zelta::monitor {

class EventRowDelegate : public QStyledItemDelegate {
 public:
  explicit EventRowDelegate(QObject* parent = nullptr);
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  QFont fixed_;
};

}  // namespace zelta::monitor
