#include "programmer/programmer_link.h"

#include "platform/clock.h"
#include "platform/serial_line.h"
#include "protocol/dispatch.h"
#include "widgets/lamp.h"

namespace zelta::programmer {

ProgrammerLink::ProgrammerLink(SerialLine& line, Clock& clock, Lamp& tx, Timer& txTimer, Lamp& rx,
                               Timer& rxTimer, QObject* parent)
    : QObject(parent), line_(line), clock_(clock), tx_(tx), txTimer_(txTimer), rx_(rx), rxTimer_(rxTimer) {
  connect(&line_, &SerialLine::byteReceived, this, &ProgrammerLink::byteReceived);
  connect(&txTimer_, &Timer::tick, this, [this] {
    tx_.setColour(colour::DarkGreen);
    txTimer_.stop();
  });
  connect(&rxTimer_, &Timer::tick, this, [this] {
    rx_.setColour(colour::DarkGreen);
    rxTimer_.stop();
  });
}

void ProgrammerLink::send(const Frame& frame) {
  tx_.setColour(colour::Green);
  txTimer_.start();
  lastAsked_ = frameAddress(frame);
  if (line_.write(frame)) publish({.kind = BusEvent::Kind::Sent, .frame = frame});
}

void ProgrammerLink::answerMissing() { publish({.kind = BusEvent::Kind::Missing}); }

void ProgrammerLink::publish(BusEvent event) {
  if (!events_.hasListeners()) return;
  event.timeMs = clock_.nowMs();
  event.asked = lastAsked_;
  events_.publish(event);
}

void ProgrammerLink::byteReceived(quint8 byte) {
  const FrameReceiver::Outcome outcome = receiver_.push(byte);
  rx_.setColour(colour::Green);
  rxTimer_.start();
  switch (outcome) {
    case FrameReceiver::Outcome::Complete:
      publish({.kind = BusEvent::Kind::Received, .frame = receiver_.frame()});
      break;
    case FrameReceiver::Outcome::CrcError:
      publish({.kind = BusEvent::Kind::CrcError, .frame = receiver_.frame()});
      return;
    case FrameReceiver::Outcome::Dropped:
      publish({.kind = BusEvent::Kind::Dropped, .byte = byte});
      return;
    case FrameReceiver::Outcome::Pending:
      return;
  }
  if (replies_ == nullptr) return;
  const Frame frame = receiver_.frame();
  try {
    dispatchProgrammerReply(frame, *replies_);
  } catch (...) {
    // A failing handler ends this reply's handling quietly; the receiver has
    // already moved on to the next frame.
  }
}

}  // namespace zelta::programmer
