// Benchmark driver for ZELTA_Reader: builds the real main window on the real
// platform (real clock, Qt serial line), and either measures the time from
// process start to the window shown, or scans a string of modules served by
// zelta_bus_sim on a pseudo-terminal at the Fast rate and times each sweep.
// Prints key=value lines for bench/scan-benchmark.sh.
//
//   zelta_reader_bench startup          main window shown, then exit
//   zelta_reader_bench startup-empty    an empty QWidget, measured the same way
//   zelta_reader_bench startup-label    the same with one text label (fonts loaded)
//   zelta_reader_bench scan DEVICE MODULES SWEEPS [monitor | BROKER_PORT]
//                       with a port: publishing on, to a broker on 127.0.0.1
//   zelta_reader_bench publish-rate BROKER_PORT MESSAGES
//                       readings handed to the publisher as fast as it takes
//                       them, timed until the broker has confirmed them all
//
// With "monitor" the three views of the View menu (frame monitor, string
// overview, trend plot) are open during the scan, redrawing as they do for a
// user.
//
// BENCH_T0_NS (CLOCK_REALTIME nanoseconds taken just before the process was
// started) is the start of the start-up measurement.
#include <sys/resource.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/desktop_platform.h"
#include "reader/publish/mosquitto_client.h"
#include "reader/publish/mqtt_publisher.h"
#include "reader/publish/reader_publishing.h"
#include "reader/reader_window.h"

namespace {

double nowSinceT0Ms() {
  const qint64 t0 = qgetenv("BENCH_T0_NS").toLongLong();
  const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  return t0 > 0 ? double(now - t0) / 1e6 : -1;
}

long peakRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Processor time of the program so far: in the program itself, and in the
// kernel on its behalf.
struct CpuTime {
  double user = 0;
  double system = 0;
};

CpuTime cpuTime() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return {double(u.ru_utime.tv_sec) + double(u.ru_utime.tv_usec) / 1e6,
          double(u.ru_stime.tv_sec) + double(u.ru_stime.tv_usec) / 1e6};
}

// Reports the first paint of a window and ends the program.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint && !done_) {
      done_ = true;
      std::printf("shown_ms=%.1f\nrss_kb=%ld\n", nowSinceT0Ms(), peakRssKb());
      std::fflush(stdout);
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return false;
  }

 private:
  bool done_ = false;
};

// A serial line that notes the time of every request it writes.
class TimedLine final : public zelta::SerialLine {
 public:
  struct Sent {
    qint64 atNs;
    std::uint8_t command;
    qint64 lastByteBeforeNs;  // last reply byte received before this request
  };
  TimedLine() {
    connect(&inner_, &zelta::SerialLine::byteReceived, this, [this](quint8 b) {
      ++bytesIn_;
      lastByteNs_ = clock_.nsecsElapsed();
      emit byteReceived(b);
    });
    connect(&inner_, &zelta::SerialLine::lineFailed, this, &zelta::SerialLine::lineFailed);
    clock_.start();
  }
  bool openPort(int n) override { return inner_.openPort(n); }
  bool openDevice(const QString& p) override { return inner_.openDevice(p); }
  void close() override { inner_.close(); }
  bool isOpen() const override { return inner_.isOpen(); }
  zelta::LineError lastError() const override { return inner_.lastError(); }
  void setDeliveryThreshold(int bytes) override { inner_.setDeliveryThreshold(bytes); }
  void deliverHeldBytes() override { inner_.deliverHeldBytes(); }
  bool write(const zelta::Frame& f) override {
    sent_.push_back({clock_.nsecsElapsed(), f[3], lastByteNs_});
    if (onSent) onSent();
    return inner_.write(f);
  }
  const std::vector<Sent>& sent() const { return sent_; }
  std::uint64_t bytesIn() const { return bytesIn_; }
  std::function<void()> onSent;

 private:
  zelta::QtSerialLine inner_;
  QElapsedTimer clock_;
  std::vector<Sent> sent_;
  std::uint64_t bytesIn_ = 0;
  qint64 lastByteNs_ = 0;
};

template <class T>
T* control(QWidget& w, const char* name) {
  T* c = w.findChild<T*>(QString::fromLatin1(name));
  if (!c) {
    std::fprintf(stderr, "no control %s\n", name);
    std::exit(2);
  }
  return c;
}

// Sets publishing on (to 127.0.0.1:port) or off through the options window,
// and waits for the connection. False if it does not come.
bool choosePublishing(zelta::ReaderWindow& window, int port) {
  window.findChild<QAction*>("Publishing_Options")->trigger();
  QWidget& options = *window.loadedWindow("Publish_Options");
  control<QCheckBox>(options, "PublishActive")->setChecked(port > 0);
  control<QLineEdit>(options, "T_Host")->setText("127.0.0.1");
  control<QLineEdit>(options, "T_Port")->setText(QString::number(port > 0 ? port : 1883));
  control<QCheckBox>(options, "Check_Tls")->setChecked(false);
  control<QLineEdit>(options, "T_User")->clear();
  control<QPushButton>(options, "B_Apply")->click();
  const zelta::MqttPublisher& publisher = window.publishing().publisher();
  QElapsedTimer waited;
  waited.start();
  while (port > 0 && publisher.state() != zelta::MqttPublisher::State::Connected) {
    if (waited.elapsed() > 10000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

int publishRate(int port, int messages) {
  zelta::RealClock clock;
  zelta::ReadingEvents readings;
  zelta::MqttPublisher publisher(
      clock, readings,
      [] {
        return std::pair{1, 340};
      },
      [] { return std::make_unique<zelta::MosquittoClient>(); });
  zelta::PublishOptions options;
  options.active = true;
  options.host = "127.0.0.1";
  options.port = port;
  options.queueLimit = messages;
  publisher.apply(options);
  QElapsedTimer timer;
  timer.start();
  while (publisher.state() != zelta::MqttPublisher::State::Connected) {
    if (timer.elapsed() > 10000) return 1;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  timer.restart();
  for (int i = 0; i < messages; ++i) {
    const int address = i % 340 + 1;
    emit readings.stored({zelta::ValueKind::Voltage, address, 13.2 + 0.001 * (i % 100),
                          QStringLiteral("13.200"), clock.nowMs()});
    if (i % 1000 == 999) QCoreApplication::processEvents();
  }
  while (publisher.waiting() > 0) {
    if (timer.elapsed() > 600000) return 1;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  std::printf("messages=%d\npublish_s=%.3f\ndropped=%lld\n", messages,
              double(timer.nsecsElapsed()) / 1e9, static_cast<long long>(publisher.dropped()));
  return 0;
}

// Rows the open frame monitor shows, -1 when it is not open.
int monitorRows() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("FrameMonitor") && w->isVisible())
      return w->findChild<QTableView*>(QStringLiteral("Monitor_Table"))->model()->rowCount();
  return -1;
}

int scan(const QString& device, int modules, int sweeps, bool monitor, int brokerPort) {
  zelta::RealClock clock;
  TimedLine line;
  zelta::QtMessageBoxes boxes(clock);
  zelta::QtTone tone;
  zelta::QtFolderChooser folders;
  zelta::QtEnvironment environment;
  zelta::QtSettings settings(QStringLiteral("ZELTA_Reader_bench"));
  zelta::QtFileSaver files;
  zelta::Platform platform{clock, line, boxes, tone, folders, environment, settings, files};
  zelta::ReaderWindow window(platform);
  window.show();
  if (!choosePublishing(window, brokerPort)) {
    std::fprintf(stderr, "no connection to the broker on port %d\n", brokerPort);
    return 1;
  }
  if (monitor) {
    for (const char* view : {"Frame_Monitor", "String_Overview", "Trend_Plot"})
      control<QAction>(window, view)->trigger();
  }

  control<QComboBox>(window, "Combo2")->setEditText(device);
  control<QPushButton>(window, "Command36")->click();
  if (!line.isOpen()) {
    std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(device),
                 qPrintable(line.errorString()));
    return 1;
  }
  control<QRadioButton>(window, "Option3(0)")->click();
  control<QLineEdit>(window, "Text8")->setText("1");
  control<QLineEdit>(window, "Text45")->setText(QString::number(modules));
  control<QCheckBox>(window, "Check7")->setChecked(false);

  // A sweep ends when the first request of the next one goes out.
  std::vector<std::size_t> sweepStarts;
  CpuTime cpuAtStart;
  CpuTime cpuAtEnd;
  int rowsShown = -1;  // read before quitting, which closes every window
  line.onSent = [&] {
    const auto& s = line.sent();
    if (s.size() == 1 || s[s.size() - 1].command != s[s.size() - 2].command) {
      sweepStarts.push_back(s.size() - 1);
      if (sweepStarts.size() == 1) cpuAtStart = cpuTime();
      if (int(sweepStarts.size()) == sweeps + 1) {
        cpuAtEnd = cpuTime();
        rowsShown = monitorRows();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
      }
    }
  };
  control<QPushButton>(window, "Command16")->click();
  // Generous limit: five sweeps of 340 modules take about a minute.
  QTimer::singleShot(modules * sweeps * 200 + 10000, qApp, &QCoreApplication::quit);
  QApplication::exec();
  control<QPushButton>(window, "Command17")->click();

  if (int(sweepStarts.size()) < sweeps + 1) {
    std::fprintf(stderr, "scan did not finish: %zu sweep starts\n", sweepStarts.size());
    return 1;
  }
  const auto& s = line.sent();
  for (int k = 0; k < sweeps; ++k) {
    const qint64 ns = s[sweepStarts[k + 1]].atNs - s[sweepStarts[k]].atNs;
    std::printf("sweep%d_command=0x%02X\nsweep%d_ms=%.1f\n", k + 1, s[sweepStarts[k]].command,
                k + 1, double(ns) / 1e6);
  }
  const std::size_t exchanges = sweepStarts[sweeps] - sweepStarts[0];
  // Where the time of an exchange goes: request to last reply byte (line and
  // simulator), last reply byte to the next request (the reader's step).
  double waitMs = 0;
  double stepMs = 0;
  for (std::size_t i = sweepStarts[0]; i < sweepStarts[sweeps]; ++i) {
    waitMs += double(s[i + 1].lastByteBeforeNs - s[i].atNs) / 1e6;
    stepMs += double(s[i + 1].atNs - s[i + 1].lastByteBeforeNs) / 1e6;
  }
  std::printf("reply_wait_ms=%.3f\nstep_ms=%.3f\n", waitMs / double(exchanges),
              stepMs / double(exchanges));
  const double wallS = double(s[sweepStarts[sweeps]].atNs - s[sweepStarts[0]].atNs) / 1e9;
  if (brokerPort > 0) {
    const zelta::MqttPublisher& publisher = window.publishing().publisher();
    std::printf("publish_connected=%d\npublish_dropped=%lld\n",
                publisher.state() == zelta::MqttPublisher::State::Connected,
                static_cast<long long>(publisher.dropped()));
  }
  const double userS = cpuAtEnd.user - cpuAtStart.user;
  const double systemS = cpuAtEnd.system - cpuAtStart.system;
  std::printf("exchanges=%zu\nreply_bytes=%llu\ncpu_s=%.3f\ncpu_user_s=%.3f\nwall_s=%.3f\nrss_kb=%ld\n",
              exchanges, static_cast<unsigned long long>(line.bytesIn()), userS + systemS, userS,
              wallS, peakRssKb());
  std::printf("monitor_rows=%d\n", rowsShown);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (mode == "startup" || mode == "startup-empty" || mode == "startup-label") {
    FirstPaint watch;
    if (mode != "startup") {
      QWidget window;
      if (mode == "startup-label") new QLabel("Voltage Module:", &window);
      window.installEventFilter(&watch);
      window.show();
      return QApplication::exec();
    }
    zelta::DesktopPlatform platform(QStringLiteral("ZELTA_Reader"));
    zelta::ReaderWindow window(platform.get());
    window.installEventFilter(&watch);
    window.show();
    return QApplication::exec();
  }
  const bool withMonitor = argc == 6 && QByteArray(argv[5]) == "monitor";
  const int brokerPort = argc == 6 && !withMonitor ? std::atoi(argv[5]) : 0;
  if (mode == "scan" && (argc == 5 || argc == 6))
    return scan(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                withMonitor, brokerPort);
  if (mode == "publish-rate" && argc == 4)
    return publishRate(std::atoi(argv[2]), std::atoi(argv[3]));
  std::fprintf(stderr,
               "usage: %s startup | startup-empty | startup-label | scan DEVICE MODULES SWEEPS "
               "[monitor | BROKER_PORT] | publish-rate BROKER_PORT MESSAGES\n",
               argv[0]);
  return 2;
}
