// A captured bus event in words, one text per column of the frame monitor:
// time, direction, the bytes in hexadecimal, address, command, what the frame
// means ("voltage reply, 13.200 V", "set address 7 → 8") and the check-byte
// verdict. Requests and replies are read with the protocol's decoders; a
// frame with a wrong check byte is shown but not decoded.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "monitor/captured_event.h"

namespace zelta::monitor {

enum class Column { Time, Direction, Bytes, Address, Command, Meaning, Check, Count };

struct EventText {
  QString time;       // the program's clock, ms
  QString direction;  // "TX", "RX", or empty for a missing answer
  QString bytes;      // "23 00 07 12 ..."
  QString address;    // decimal
  QString command;    // "0x12 voltage"
  QString meaning;
  QString check;  // "ok", "wrong (0x5A, expected 0x3C)", or empty

  const QString& operator[](Column c) const;
};

EventText describe(const CapturedEvent& captured);

// "voltage" for 0x12; "unknown" for a code the bus does not use.
QString commandName(std::uint8_t code);
// The command codes of the bus, in ascending order.
const std::vector<std::uint8_t>& knownCommands();
// Column titles, in Column order.
QStringList columnTitles();

}  // namespace zelta::monitor
