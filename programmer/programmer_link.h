// The programmer's end of the bus line. Every request leaves through send,
// which writes one frame and flashes the transmit lamp; every received byte
// flashes the receive lamp and goes to the frame receiver, and each complete
// frame with a correct check byte is handed to the reply handlers. Frames with
// a wrong check byte are dropped without a word. Whatever a handler does, the
// receiver is ready for the next frame afterwards. Every frame and dropped
// byte is also published on events() for whoever follows the bus.
#pragma once

#include <QObject>

#include "protocol/bus_events.h"
#include "protocol/frame.h"
#include "protocol/receiver.h"

namespace zelta {
class Clock;
class Lamp;
class ProgrammerReplies;
class SerialLine;
class Timer;
}  // namespace zelta

namespace zelta::programmer {

class ProgrammerLink : public QObject {
  Q_OBJECT
 public:
  // txTimer (Timer4) and rxTimer (Timer1) darken their lamps on their tick.
  ProgrammerLink(SerialLine& line, Clock& clock, Lamp& tx, Timer& txTimer, Lamp& rx,
                 Timer& rxTimer, QObject* parent = nullptr);

  // Set once the window's reply handlers exist; bytes before that are only
  // assembled.
  void setReplies(ProgrammerReplies* replies) { replies_ = replies; }

  // Writes the frame; a closed or failed line is ignored, as the callers carry
  // on as if the request had gone out.
  void send(const Frame& frame);

  // A request's answer did not come in time.
  void answerMissing();

  BusEvents& events() { return events_; }

 private:
  void byteReceived(quint8 byte);
  void publish(BusEvent event);

  SerialLine& line_;
  Clock& clock_;
  Lamp& tx_;
  Timer& txTimer_;
  Lamp& rx_;
  Timer& rxTimer_;
  FrameReceiver receiver_;
  ProgrammerReplies* replies_ = nullptr;
  BusEvents events_;
  int lastAsked_ = -1;
};

}  // namespace zelta::programmer
