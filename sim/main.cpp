// zelta_bus_sim: a string of simulated modules served in real time on a
// pseudo-terminal, for demos, manual tries and real-time tests.
#include <QCoreApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/real_clock.h"
#include "protocol/receiver.h"
#include "sim/bus_simulator.h"
#include "sim/frame_text.h"
#include "sim/sim_console.h"
#include "sim/sim_options.h"
#include "sim/terminal_host.h"

namespace {

void printTrace(const zelta::BusSimulator::TraceEvent& e) {
  std::string meaning;
  if (e.bytes.size() >= zelta::kFrameSize) {
    zelta::Frame f{};
    std::copy(e.bytes.end() - zelta::kFrameSize, e.bytes.end(), f.begin());
    meaning = zelta::describeFrame(f, e.fromHost);
  }
  if (!e.note.empty()) meaning += (meaning.empty() ? "[" : "  [") + e.note + "]";
  std::fprintf(stderr, "%10lld ms  %s  %-35s  %s\n", static_cast<long long>(e.atMs), e.fromHost ? "PC->bus" : "bus->PC",
               zelta::hexBytes(e.bytes).c_str(), meaning.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const zelta::ParsedOptions parsed = zelta::parseSimOptions(args);
  if (!parsed.options) {
    std::fprintf(stderr, "zelta_bus_sim: %s\nTry zelta_bus_sim --help.\n", parsed.error.c_str());
    return 2;
  }
  const zelta::SimOptions& o = *parsed.options;
  if (o.help) {
    std::fputs(zelta::simUsage().c_str(), stdout);
    return 0;
  }

  QCoreApplication app(argc, argv);
  zelta::RealClock clock;
  zelta::BusSimulator bus(clock, o.seed);
  bus.addModules(o.modules, o.firstAddress);
  bus.setFaults(o.faults);
  bus.setTurnaroundMs(o.turnaroundMs);
  bus.setReplyChunkBytes(o.replyChunkBytes);
  bus.setLineCheckPaceMs(o.lineCheckPaceMs);
  bus.setDrift(o.drift);
  if (o.silent) bus.setSilentRange(o.silent->first, o.silent->second);

  zelta::TerminalHost host;
  QString error;
  if (!host.open(&error)) {
    std::fprintf(stderr, "zelta_bus_sim: %s\n", qPrintable(error));
    return 1;
  }
  if (!o.link.empty() && !host.makeLink(QString::fromStdString(o.link), &error)) {
    std::fprintf(stderr, "zelta_bus_sim: %s\n", qPrintable(error));
    return 1;
  }
  std::printf("%s\n", qPrintable(host.devicePath()));
  std::fflush(stdout);

  bus.setByteSink([&host](std::uint8_t b) { host.send(b); });
  if (o.trace) bus.setTraceSink(printTrace);

  // A frame counts as written when its last byte has come in.
  zelta::FrameReceiver fromProgram;
  QObject::connect(&host, &zelta::TerminalHost::hostBytes, [&](const QByteArray& bytes) {
    for (char c : bytes) {
      const auto outcome = fromProgram.push(static_cast<std::uint8_t>(c));
      if (outcome == zelta::FrameReceiver::Outcome::Complete || outcome == zelta::FrameReceiver::Outcome::CrcError)
        bus.hostWrote(fromProgram.frame());
    }
  });

  zelta::SimConsole console(bus);
  QObject::connect(&host, &zelta::TerminalHost::commandLine, [&](const QString& line) {
    const std::string out = console.execute(line.toStdString());
    std::fputs(out.c_str(), stdout);
    std::fflush(stdout);
    if (console.quitRequested()) app.quit();
  });
  QObject::connect(&host, &zelta::TerminalHost::quitRequested, &app, &QCoreApplication::quit);
  host.catchQuitSignals();

  const bool commands = host.readCommands();
  std::fprintf(stderr, "zelta_bus_sim: %d modules on %s%s%s\n", bus.moduleCount(), qPrintable(host.devicePath()),
               o.link.empty() ? "" : (" (link " + o.link + ")").c_str(),
               commands ? "; type help for commands" : "; running in the background, no commands read");
  return app.exec();
}
