// Opening and closing the bus port from the port box. The port number is cut
// from the end of the port name ("COM7" is 7, "COM12" is 12); a name of
// another length keeps the number of the last good one. Where device paths
// exist, a name starting with "/" is opened as the device itself. Open ends in
// Automatic Mode (Manual Mode at expert level 2) after a stop broadcast.
#pragma once

#include <QObject>
#include <QString>

namespace zelta::programmer {

struct ProgrammerContext;
class AutoAddressing;
class ModeSwitch;

class PortControl : public QObject {
  Q_OBJECT
 public:
  PortControl(const ProgrammerContext& ctx, ModeSwitch& modes, AutoAddressing& autoAddressing,
              QObject* parent = nullptr);

  // The rule for the port number: last character of a 4-character name, last
  // two of a 5-character name, else po unchanged.
  static QString portNumberText(const QString& name, const QString& po);

 private:
  void open();
  void close();
  bool openLine();

  const ProgrammerContext& ctx_;
  ModeSwitch& modes_;
  AutoAddressing& autoAddressing_;
};

}  // namespace zelta::programmer
