#include "publish_state_line.h"

#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>

#include "mqtt_publisher.h"
#include "platform/clock.h"

namespace zelta {

PublishStateLine::PublishStateLine(QMainWindow& form1, Clock& clock, const MqttPublisher& publisher)
    : publisher_(publisher),
      line_(new QLabel(form1.centralWidget())),
      redraw_(new Timer(clock, QStringLiteral("PublishStateRedraw"), kRedrawMs, this)) {
  line_->setObjectName("PublishStatus");
  line_->setWordWrap(true);
  line_->hide();
  if (auto* grid = qobject_cast<QGridLayout*>(form1.centralWidget()->layout()))
    grid->addWidget(line_, grid->rowCount(), 0, 1, grid->columnCount());
  connect(&publisher, &MqttPublisher::stateChanged, this, &PublishStateLine::redraw);
  connect(redraw_, &Timer::tick, this, &PublishStateLine::redraw);
}

void PublishStateLine::redraw() {
  const MqttPublisher::State state = publisher_.state();
  redraw_->setEnabled(state != MqttPublisher::State::Off);
  const QString text = publisher_.stateText();
  if (text == line_->text()) return;
  line_->setText(text);
  line_->setStyleSheet(state == MqttPublisher::State::Retrying    ? "color: red;"
                       : state == MqttPublisher::State::Connected ? "color: darkgreen;"
                                                                  : "");
  line_->setVisible(!text.isEmpty());
}

}  // namespace zelta
