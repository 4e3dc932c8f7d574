#include "programmer/status_lines.h"

#include <QBoxLayout>

#include "widgets/eliding_label.h"
#include "widgets/line_watch.h"
#include "widgets/port_chooser.h"

namespace zelta::programmer {

StatusLines::StatusLines(QWidget& form, QComboBox& combo2, SerialLine& line, PortCatalog* ports,
                         std::function<QString(const QString&)> portNumberOf)
    : QObject(&form) {
  line_ = new LineWatch(line, &form);
  auto* device = new ElidingLabel(QStringLiteral("PortDevice"), &form);
  auto* layout = qobject_cast<QBoxLayout*>(form.layout());
  layout->addWidget(&line_->redLine());
  layout->addWidget(device);
  ports_ = new PortChooser(combo2, *device, ports, std::move(portNumberOf));
}

}  // namespace zelta::programmer
