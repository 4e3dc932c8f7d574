#include "reader_link.h"

#include <QLabel>
#include <cmath>

#include "number_text.h"
#include "platform/clock.h"
#include "platform/serial_line.h"
#include "protocol/dispatch.h"
#include "protocol/requests.h"
#include "reader_controls.h"
#include "reader_state.h"
#include "widgets/held_label.h"
#include "widgets/lamp.h"

namespace zelta {
namespace {

Timer& timer(Clock& clock, const char* name, int ms, QObject* owner) {
  return *new Timer(clock, QString::fromLatin1(name), ms, owner);
}

}  // namespace

ReaderLink::ReaderLink(SerialLine& line, Clock& clock, ReaderState& state, const ReaderControls& c,
                       QObject* timerOwner)
    : QObject(timerOwner),
      line_(line),
      clock_(clock),
      state_(state),
      label21_(*c.label21),
      label8_(*c.label8),
      tx_(*c.txanz, timer(clock, "Timer4", 100, timerOwner), colour::Green, colour::DarkGreen),
      rx_(*c.rxanz, timer(clock, "Timer1", 100, timerOwner), colour::Green, colour::DarkGreen),
      ok_(*c.ok, timer(clock, "Timer2", 100, timerOwner), colour::Green, colour::DarkGreen),
      crc_(*c.crc, timer(clock, "Timer7", 200, timerOwner), colour::Red, colour::DarkRed) {
  connect(&line_, &SerialLine::byteReceived, this, [this](quint8 b) { byteReceived(b); });
}

void ReaderLink::setReplyHandlers(ReaderReplies* replies, ReplyFollowUp* followUp) {
  replies_ = replies;
  followUp_ = followUp;
}

void ReaderLink::request(Frame (*build)(std::uint16_t)) {
  const auto address = addressFromNumber(std::nearbyint(state_.adr));
  if (!address) {
    // Shown like any request, but nothing malformed goes on the line.
    tx_.flash();
    setHeldLabelText(label21_, generalText(state_.adr));
    return;
  }
  send(build(*address));
}

void ReaderLink::send(const Frame& frame) {
  line_.deliverHeldBytes();
  tx_.flash();
  setHeldLabelText(label21_, generalText(state_.adr));
  lastAsked_ = frameAddress(frame);
  if (!line_.write(frame)) return;  // a closed port: the request is simply lost
  receiver_.clear();
  setDeliveryThreshold();
  publish({.kind = BusEvent::Kind::Sent, .frame = frame});
}

void ReaderLink::setDeliveryThreshold() {
  const auto begun = static_cast<int>(receiver_.pending());
  line_.setDeliveryThreshold(begun > 0 ? static_cast<int>(kFrameSize) - begun : 1);
}

void ReaderLink::answerMissing() { publish({.kind = BusEvent::Kind::Missing}); }

void ReaderLink::publish(BusEvent event) {
  if (!events_.hasListeners()) return;
  event.timeMs = clock_.nowMs();
  event.asked = lastAsked_;
  events_.publish(event);
}

void ReaderLink::darkenLineLamps() {
  rx_.darken();
  tx_.darken();
}

void ReaderLink::byteReceived(std::uint8_t byte) {
  switch (receiver_.push(byte)) {
    case FrameReceiver::Outcome::Complete:
      rx_.flash();
      publish({.kind = BusEvent::Kind::Received, .frame = receiver_.frame()});
      frameComplete();
      break;
    case FrameReceiver::Outcome::CrcError:
      publish({.kind = BusEvent::Kind::CrcError, .frame = receiver_.frame()});
      crcError();
      break;
    case FrameReceiver::Outcome::Dropped:
      publish({.kind = BusEvent::Kind::Dropped, .byte = byte});
      rx_.flash();
      break;
    case FrameReceiver::Outcome::Pending:
      rx_.flash();
      break;
  }
  setDeliveryThreshold();
}

void ReaderLink::frameComplete() {
  ok_.flash();
  if (followUp_) followUp_->answerReceived();
  try {
    if (replies_) dispatchReaderReply(receiver_.frame(), *replies_);
  } catch (...) {
    // A reply that cannot be handled is dropped; the scan goes on.
  }
  if (followUp_) followUp_->replyHandled();
}

void ReaderLink::crcError() {
  crc_.flash();
  countUp(label8_);
}

}  // namespace zelta
