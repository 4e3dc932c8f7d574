// Opening and closing the bus port from the port box. The port number is cut
// from the end of the port name ("COM7" is 7, "COM12" is 12); a name of
// another length keeps the number of the last good one. Where device paths
// exist, a name starting with "/" is opened as the device itself. Open ends in
// Automatic Mode (Manual Mode at expert level 2) after a stop broadcast, with
// the focus on that mode's "Start"; a failed Open says why in the box.
#pragma once

#include <QObject>
#include <QString>

#include "platform/line_error.h"

namespace zelta::programmer {

struct ProgrammerContext;
class AutoAddressing;
class ModeSwitch;
class StatusLines;

class PortControl : public QObject {
  Q_OBJECT
 public:
  PortControl(const ProgrammerContext& ctx, ModeSwitch& modes, AutoAddressing& autoAddressing,
              StatusLines& status, QObject* parent = nullptr);

  // The rule for the port number: last character of a 4-character name, last
  // two of a 5-character name, else po unchanged.
  static QString portNumberText(const QString& name, const QString& po);

 private:
  void open();
  void close();
  LineError openLine();

  const ProgrammerContext& ctx_;
  ModeSwitch& modes_;
  AutoAddressing& autoAddressing_;
  StatusLines& status_;
};

}  // namespace zelta::programmer
