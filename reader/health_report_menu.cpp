#include "health_report_menu.h"

#include <QAction>
#include <QDir>
#include <QMainWindow>
#include <QMenu>

#include "csv_logger.h"
#include "platform/platform.h"
#include "report/health_report.h"
#include "report/report_job.h"

namespace zelta {

HealthReportMenu::HealthReportMenu(QMainWindow& form1, const CsvLogger& logger, Platform& platform)
    : QObject(&form1),
      form1_(form1),
      logger_(logger),
      platform_(platform),
      timer_(new Timer(platform.clock, QStringLiteral("Health_Report_Timer"), 1, this)) {
  // Below "Logging Options...", the menu's last entry.
  auto* menu = form1.findChild<QMenu*>(QStringLiteral("CxSubScreens"));
  action_ = menu->addAction(QStringLiteral("Health &Report..."));
  action_->setObjectName(QStringLiteral("Health_Report"));
  connect(action_, &QAction::triggered, this, &HealthReportMenu::start);
  connect(timer_, &Timer::tick, this, &HealthReportMenu::step);
}

HealthReportMenu::~HealthReportMenu() = default;

void HealthReportMenu::tell(const QString& text) {
  platform_.boxes.show(
      &form1_, {text, QStringLiteral("Health Report"), BoxIcon::Information, BoxButtons::Ok});
}

void HealthReportMenu::start() {
  dir_ = logger_.logDir();
  if (dir_.isEmpty()) {
    tell(QStringLiteral("No log directory yet: choose one under Logging Options..."));
    return;
  }
  QString error;
  auto files = report::resolveInputs({dir_}, error);
  if (files.empty()) {
    tell(QStringLiteral("No log files in %1").arg(dir_));
    return;
  }
  report::ReportSettings settings;
  settings.stringName = QDir(dir_).dirName();
  if (!logger_.delimiter().isEmpty()) settings.fallbackDelimiter = logger_.delimiter();
  job_ = std::make_unique<report::ReportJob>(std::move(files), settings);
  action_->setEnabled(false);
  timer_->start();
}

void HealthReportMenu::step() {
  if (job_->step(kLinesPerTick)) return;
  timer_->stop();
  finish();
}

void HealthReportMenu::finish() {
  const std::unique_ptr<report::ReportJob> job = std::move(job_);
  action_->setEnabled(true);
  const report::HealthReport result(*job);
  const QDir dir(dir_);
  const QString pdf = QDir::toNativeSeparators(dir.filePath(QString::fromLatin1(kPdfName)));
  QString error;
  if (!report::writePdf(result, pdf, error) ||
      !report::writeSummary(result, dir.filePath(QString::fromLatin1(kSummaryName)), error)) {
    tell(QStringLiteral("The health report could not be written: %1").arg(error));
    return;
  }
  if (!platform_.documents || !platform_.documents->open(pdf))
    tell(QStringLiteral("The health report is in %1").arg(pdf));
}

}  // namespace zelta
