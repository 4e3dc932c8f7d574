// The frame monitor ("FrameMonitor"): every frame sent and received, every
// byte the receiver dropped and every missing answer of one program's bus
// line, newest at the bottom. It exists only while it is open: it subscribes
// to the line's events when built and unsubscribes when it goes, so a closed
// monitor costs nothing. Events go into a bounded ring as they come; the table
// catches up a few times per second, so a flood of noise cannot keep the
// window busy: when the refresh timer ("Monitor_Refresh", 250 ms) has ticked,
// at the next request sent (the table is then drawn while the request and its
// answer are on the wire, not while an answer waits to be handled), or at the
// timer's next tick when no request goes out. Pause holds the capture (what
// comes meanwhile is counted, not kept); Clear forgets what is kept.
#pragma once

#include <QWidget>
#include <cstdint>

#include "monitor/frame_ring.h"
#include "protocol/bus_events.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableView;

namespace zelta {
struct Platform;
}  // namespace zelta

namespace zelta::monitor {

class EventTableModel;
enum class ExportFormat;

// Settings key of the number of events kept, and its bounds.
inline constexpr const char* kKeepSetting = "monitor/keepFrames";
inline constexpr int kDefaultKeep = 100000;
inline constexpr int kMinKeep = 1000;
inline constexpr int kMaxKeep = 1000000;
inline constexpr int kRefreshMs = 250;

class FrameMonitorWindow : public QWidget, private BusListener {
  Q_OBJECT
 public:
  FrameMonitorWindow(BusEvents& events, Platform& platform, const QString& programName,
                     QWidget* parent = nullptr);
  ~FrameMonitorWindow() override;

  const FrameRing& ring() const { return ring_; }
  const EventTableModel& rows() const { return *model_; }

 private:
  void busEvent(const BusEvent& event) override;
  void refresh();
  void clear();
  void applyFilter();
  void findNext();
  void save(ExportFormat format);
  void keepChanged(int count);
  void showStatus();

  BusEvents& events_;
  Platform& platform_;
  QString programName_;
  FrameRing ring_;
  EventTableModel* model_;
  int lastCommand_ = -1;
  bool paused_ = false;
  // Since opened or cleared.
  std::uint64_t crcErrors_ = 0;
  std::uint64_t droppedBytes_ = 0;
  std::uint64_t missingAnswers_ = 0;
  std::uint64_t notKept_ = 0;

  QPushButton* pause_;
  QPushButton* clear_;
  QLineEdit* address_;
  QComboBox* command_;
  QLineEdit* find_;
  QPushButton* findNext_;
  QTableView* table_;
  QLineEdit* status_;
  QLabel* note_;
  QSpinBox* keep_;
  QPushButton* saveText_;
  QPushButton* saveCsv_;
};

}  // namespace zelta::monitor
