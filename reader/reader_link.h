// The reader's side of the serial line. Sending writes one frame, flashes the
// transmit lamp, shows the address in Label21 and forgets any partly received
// reply. Receiving assembles frames byte by byte: a valid one lights "ok",
// stops the answer timer and goes to the reply handlers, then the scan may
// step on; a corrupted one lights "crc" and counts in Label8. Whatever a
// reply handler does, the receiver is ready for the next frame afterwards.
// Every frame, dropped byte and missing answer is also published on
// events() for whoever follows the bus.
// Once a frame has begun, the line is asked to hand over its rest whole:
// until then nothing can come of the bytes but "pending". Whatever the line
// still holds back is taken in before a request forgets the partial frame.
#pragma once

#include <QObject>
#include <cstdint>

#include "flash_lamp.h"
#include "protocol/bus_events.h"
#include "protocol/frame.h"
#include "protocol/receiver.h"

class QLabel;

namespace zelta {

class Clock;
class ReaderReplies;
class SerialLine;
struct ReaderControls;
struct ReaderState;

// What the scan engine does around a valid reply.
class ReplyFollowUp {
 public:
  virtual ~ReplyFollowUp() = default;
  virtual void answerReceived() = 0;  // stop the answer timer
  virtual void replyHandled() = 0;    // step on at the Fast rate
};

class ReaderLink : public QObject {
  Q_OBJECT
 public:
  ReaderLink(SerialLine& line, Clock& clock, ReaderState& state, const ReaderControls& controls,
             QObject* timerOwner);

  void setReplyHandlers(ReaderReplies* replies, ReplyFollowUp* followUp);

  // Sends a request built for the current address adr (rounded to a whole
  // number; an address that no frame can carry is not sent).
  void request(Frame (*build)(std::uint16_t address));
  void send(const Frame& frame);

  // Lamps after Close: both line lamps dark, their timers off.
  void darkenLineLamps();

  // The answer timer of the last request ran out.
  void answerMissing();

  BusEvents& events() { return events_; }

 private:
  void byteReceived(std::uint8_t byte);
  void frameComplete();
  void crcError();
  // The bytes that may complete the frame begun, or 1 when none has begun.
  void setDeliveryThreshold();

  void publish(BusEvent event);

  SerialLine& line_;
  Clock& clock_;
  ReaderState& state_;
  QLabel& label21_;
  QLabel& label8_;
  FlashLamp tx_;
  FlashLamp rx_;
  FlashLamp ok_;
  FlashLamp crc_;
  FrameReceiver receiver_;
  ReaderReplies* replies_ = nullptr;
  ReplyFollowUp* followUp_ = nullptr;
  BusEvents events_;
  int lastAsked_ = -1;
};

}  // namespace zelta
