// The publisher's state on a line of its own under the main window's frames:
// connecting, connected, or why it is reconnecting, with the messages waiting
// and dropped. Hidden while publishing is off; redrawn a few times a second,
// not per reading.
#pragma once

#include <QObject>

class QLabel;
class QMainWindow;

namespace zelta {

class Clock;
class MqttPublisher;
class Timer;

class PublishStateLine : public QObject {
  Q_OBJECT
 public:
  static constexpr int kRedrawMs = 250;
  PublishStateLine(QMainWindow& form1, Clock& clock, const MqttPublisher& publisher);

 private:
  void redraw();

  const MqttPublisher& publisher_;
  QLabel* line_;
  Timer* redraw_;
};

}  // namespace zelta
