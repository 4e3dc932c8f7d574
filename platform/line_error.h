// Why the serial line could not be opened, or stopped working while open:
// a kind the programs can explain, the device that was tried and the
// system's own words. explain() turns it into one sentence for the user.
#pragma once

#include <QString>

namespace zelta {

struct LineError {
  enum class Kind {
    None,              // no failure
    NoSuchDevice,      // the device is not there
    PermissionDenied,  // the device is there, the user may not use it
    Busy,              // another program (or this one) holds the device
    NoPortNumber,      // the port name holds no port number
    Lost,              // the line failed while open
    Other,
  };
  Kind kind = Kind::None;
  QString device;      // the device path tried, or the port name as typed
  QString systemText;  // what the system said, when it said anything
};

// One or two sentences: what went wrong, with which device, and what helps.
QString explain(const LineError& error);

}  // namespace zelta
