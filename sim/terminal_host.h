// Where zelta_bus_sim meets the operating system: a pseudo-terminal in raw
// mode whose far end a program opens as its serial port, an optional symbolic
// link to it, the operator's command lines from standard input, and the
// signals that end the tool. Everything platform-specific lives behind this.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class QSocketNotifier;

namespace zelta {

class TerminalHost : public QObject {
  Q_OBJECT
 public:
  explicit TerminalHost(QObject* parent = nullptr);
  ~TerminalHost() override;  // closes the terminal and removes the link

  // Creates the pseudo-terminal; false with a reason on failure.
  bool open(QString* error);
  // The path a program opens (the far end).
  QString devicePath() const { return device_; }
  // Makes path a symbolic link to the device, replacing an existing link.
  bool makeLink(const QString& path, QString* error);

  // One byte towards the program. Bytes sent in one turn of the event loop
  // (a chunk of a reply) go out in one write. Dropped when nobody drains the
  // terminal.
  void send(std::uint8_t byte);

  // Starts reading command lines from standard input (not when the process
  // runs in the background of a shell, where reading would stop it).
  // Returns whether it reads.
  bool readCommands();
  // SIGINT, SIGTERM and SIGHUP become quitRequested.
  void catchQuitSignals();

 signals:
  void hostBytes(const QByteArray& bytes);
  void commandLine(const QString& line);
  void quitRequested();

 private:
  void writeOutgoing();
  void readTerminal();
  void readInput();

  int master_ = -1;
  int slave_ = -1;  // kept open so that the terminal never hangs up between programs
  QString device_;
  QString link_;
  QByteArray pendingInput_;
  QByteArray outgoing_;
  QSocketNotifier* terminalNotifier_ = nullptr;
  QSocketNotifier* inputNotifier_ = nullptr;
  QSocketNotifier* signalNotifier_ = nullptr;
};

}  // namespace zelta
