// The line check: the send line test makes every unaddressed module switch its
// LED green and red once per second; the receive line test shows each numbered
// message a module sends after a power-up with its button held, and tells the
// installer when the count reaches 0. The installer judges by eye; nothing is
// counted.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

namespace zelta::programmer {

struct ProgrammerContext;

class LineCheck : public QObject {
  Q_OBJECT
 public:
  explicit LineCheck(const ProgrammerContext& ctx, QObject* parent = nullptr);

  // lineCheckEnable: the test buttons on or off, the receive request stopped.
  void enable(bool on);
  // Entering "Line Check" mode.
  void enterMode();
  // A numbered message arrived.
  void up_rec_check(std::uint16_t number);

  // The instructions behind "Info...".
  static QString infoText();

 private:
  void start();
  void stop();
  void ledStep(bool red);

  const ProgrammerContext& ctx_;
};

}  // namespace zelta::programmer
