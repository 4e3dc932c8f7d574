#include "log_options_window.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

#include "csv_logger.h"
#include "platform/environment.h"
#include "platform/folder_chooser.h"
#include "widgets/named.h"

namespace zelta {

LogOptionsWindow::LogOptionsWindow(CsvLogger& logger, FolderChooser& folders,
                                   const Environment& environment)
    : logger_(logger), folders_(folders), environment_(environment) {
  setObjectName("Log_Options");
  setWindowTitle("Logging Options");
  auto* grid = new QGridLayout(this);
  check1_ = named(new QCheckBox("Logging Active", this), "Check1");
  label1_ = named(new QLabel("Log Dir:", this), "Label1");
  logDir_ = named(new QLineEdit(this), "T_LogDir");
  logDir_->setMinimumWidth(280);
  browse_ = named(new QPushButton("Browse", this), "B_Browse");
  default_ = named(new QPushButton("Default", this), "B_Default");
  label2_ = named(new QLabel("Field Delimiter:", this), "Label2");
  delimiter_ = named(new QLineEdit(this), "T_delim");
  delimiter_->setFixedWidth(48);
  auto* ok = named(new QPushButton("Ok", this), "B_Apply");
  auto* cancel = named(new QPushButton("Cancel", this), "B_Cancel");

  grid->addWidget(check1_, 0, 0, 1, 3);
  grid->addWidget(label1_, 1, 0, 1, 3);
  grid->addWidget(logDir_, 2, 0, 1, 3);
  auto* dirButtons = new QHBoxLayout;
  dirButtons->addWidget(browse_);
  dirButtons->addWidget(default_);
  dirButtons->addStretch();
  grid->addLayout(dirButtons, 3, 0, 1, 3);
  grid->addWidget(label2_, 4, 0);
  grid->addWidget(delimiter_, 4, 1);
  auto* closing = new QHBoxLayout;
  closing->addStretch();
  closing->addWidget(ok);
  closing->addWidget(cancel);
  grid->addLayout(closing, 5, 0, 1, 3);

  connect(check1_, &QCheckBox::toggled, this, &LogOptionsWindow::setLOActivity);
  connect(ok, &QPushButton::clicked, this, &LogOptionsWindow::apply);
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  connect(default_, &QPushButton::clicked, this, &LogOptionsWindow::useDefault);
  connect(browse_, &QPushButton::clicked, this, &LogOptionsWindow::browse);
}

void LogOptionsWindow::openFromMenu() {
  defaultLogDir_ = QDir::toNativeSeparators(environment_.homeDir());
  if (logDir_->text().isEmpty()) logDir_->setText(defaultLogDir_);
  if (!logger_.logDir().isEmpty())
    logDir_->setText(logger_.logDir());
  else
    logger_.setLogDir(defaultLogDir_);
  if (delimiter_->text().isEmpty()) delimiter_->setText(";");
  if (!logger_.delimiter().isEmpty())
    delimiter_->setText(logger_.delimiter());
  else
    logger_.setDelimiter(";");
  check1_->setChecked(logger_.loggingActive());
  logger_.setLogDir(logger_.setLogFiles(logDir_->text()));
  setLOActivity();
  show();
  raise();
  activateWindow();
}

void LogOptionsWindow::setLOActivity() {
  const bool on = check1_->isChecked();
  for (QWidget* w :
       std::initializer_list<QWidget*>{label1_, logDir_, browse_, default_, label2_, delimiter_})
    w->setEnabled(on);
}

void LogOptionsWindow::apply() {
  logger_.setLogDir(logger_.setLogFiles(logDir_->text()));
  // A quote or a line break cannot separate CSV fields (they are what quoting
  // protects), so such a delimiter is corrected like an empty one.
  const QString typed = delimiter_->text();
  if (typed.isEmpty() || typed.contains('"') || typed.contains('\r') || typed.contains('\n'))
    delimiter_->setText(";");
  logger_.setDelimiter(delimiter_->text());
  logger_.setLoggingActive(check1_->isChecked());
  close();
  emit optionsTaken();
}

void LogOptionsWindow::useDefault() {
  logger_.setLogDir(logger_.setLogFiles(defaultLogDir_));
  logDir_->setText(logger_.logDir());
  emit optionsTaken();
}

std::optional<QString> LogOptionsWindow::setLogDir() {
  const QString start = logDir_->text().isEmpty()
                            ? QDir::toNativeSeparators(environment_.documentsDir())
                            : logDir_->text();
  const FolderChoice choice =
      folders_.choose(this, QStringLiteral("Choose a directory for the log files"), start);
  switch (choice.outcome) {
    case FolderChoice::Outcome::Chosen:
      return QDir::toNativeSeparators(choice.path);
    case FolderChoice::Outcome::Cancelled:
      return start;
    case FolderChoice::Outcome::Failed:
      return std::nullopt;
  }
  return std::nullopt;
}

void LogOptionsWindow::browse() {
  const auto dir = setLogDir();
  if (!dir) return;
  logger_.setLogDir(logger_.setLogFiles(*dir));
  logDir_->setText(logger_.logDir());
  emit optionsTaken();
}

}  // namespace zelta
