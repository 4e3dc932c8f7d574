// "Health Report..." in the main window's Module_SubScreens menu: makes the
// health report of the log files in the current log directory, with the
// report tool's own code, and opens the PDF. The files are read a few
// thousand lines per tick of its own timer, so that a scan goes on meanwhile;
// the entry is disabled until the report is done. The PDF and its JSON
// summary are written into the log directory.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QAction;
class QMainWindow;

namespace zelta {

class CsvLogger;
class Timer;
struct Platform;
namespace report {
class ReportJob;
}

class HealthReportMenu final : public QObject {
  Q_OBJECT
 public:
  static constexpr const char* kPdfName = "ZELTA_Health_Report.pdf";
  static constexpr const char* kSummaryName = "ZELTA_Health_Report.json";
  static constexpr int kLinesPerTick = 2000;

  HealthReportMenu(QMainWindow& form1, const CsvLogger& logger, Platform& platform);
  ~HealthReportMenu() override;

  QAction* action() const { return action_; }

 private:
  void start();
  void step();
  void finish();
  void tell(const QString& text);

  QMainWindow& form1_;
  const CsvLogger& logger_;
  Platform& platform_;
  QAction* action_;
  Timer* timer_;
  QString dir_;
  std::unique_ptr<report::ReportJob> job_;
};

}  // namespace zelta
