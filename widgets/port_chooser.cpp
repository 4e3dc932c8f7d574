#include "port_chooser.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QStyledItemDelegate>

#include "protocol/numbers.h"

namespace zelta {
namespace {

constexpr int kAboutRole = Qt::UserRole + 1;

// List entries of present ports read "device  -  about"; the box itself
// takes the device alone when one is chosen.
class PortItemDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const QString about = index.data(kAboutRole).toString();
    if (!about.isEmpty()) option->text += QStringLiteral("  \u2013  ") + about;
    option->textElideMode = Qt::ElideMiddle;
  }
};

}  // namespace

PortChooser::PortChooser(QComboBox& combo, QLabel& status, PortCatalog* catalog,
                         std::function<QString(const QString&)> portNumberOf)
    : QObject(&combo),
      combo_(combo),
      status_(status),
      catalog_(catalog),
      portNumberOf_(std::move(portNumberOf)) {
  combo_.setItemDelegate(new PortItemDelegate(&combo_));
  // A long path in the list must not widen the box, nor its window.
  combo_.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo_.setMinimumContentsLength(std::max(combo_.minimumContentsLength(), 12));
  connect(&combo_, &QComboBox::editTextChanged, this, &PortChooser::refresh);
  connect(&combo_, &QComboBox::activated, this, &PortChooser::refresh);
  status_.setVisible(catalog_ != nullptr);
  refresh();
}

QString PortChooser::about(const PresentPort& port) {
  QStringList parts;
  for (const QString& part : {port.description, port.manufacturer})
    if (!part.isEmpty()) parts << part;
  if (!port.serialNumber.isEmpty()) parts << QStringLiteral("SN %1").arg(port.serialNumber);
  return parts.join(QStringLiteral(", "));
}

void PortChooser::addPresentPorts() {
  if (!catalog_) return;
  present_ = catalog_->presentPorts();
  for (const PresentPort& port : present_) {
    combo_.addItem(port.device);
    const int index = combo_.count() - 1;
    const QString known = about(port);
    combo_.setItemData(index, known, kAboutRole);
    combo_.setItemData(index, known.isEmpty() ? port.device : port.device + '\n' + known,
                       Qt::ToolTipRole);
  }
  // The list is as wide as its longest entry, up to most of the screen.
  QAbstractItemView* list = combo_.view();
  const int widest = list->sizeHintForColumn(0) + 2 * list->frameWidth() + 24;
  const int room = combo_.screen()->availableGeometry().width() * 9 / 10;
  list->setMinimumWidth(std::min(widest, room));
  refresh();
}

QString PortChooser::deviceFor(const QString& name) const {
  if (!catalog_) return {};
#ifndef Q_OS_WIN
  if (name.startsWith(QLatin1Char('/'))) return name;
#endif
  const auto number = strictParse(portNumberOf_(name).toStdString());
  if (!number || *number < 1 || *number > 65535 || *number != static_cast<int>(*number))
    return {};
  return catalog_->deviceForPort(static_cast<int>(*number));
}

QString PortChooser::aboutDevice(const QString& device) const {
  for (const PresentPort& port : present_)
    if (port.device == device) return about(port);
  return {};
}

void PortChooser::refresh() {
  if (!catalog_) return;
  const QString name = combo_.currentText();
  const QString device = deviceFor(name);
  QString text;
  if (device.isEmpty())
    text = QStringLiteral("\"%1\" names no port").arg(name);
  else if (device == name)
    text = QStringLiteral("Opens %1").arg(device);
  else
    text = QStringLiteral("%1 opens %2").arg(name, device);
  if (!device.isEmpty()) {
    const QString known = aboutDevice(device);
    if (!known.isEmpty()) text += QStringLiteral(" (%1)").arg(known);
  }
  status_.setText(text);
  status_.setToolTip(text);
  combo_.setToolTip(text);
}

}  // namespace zelta
