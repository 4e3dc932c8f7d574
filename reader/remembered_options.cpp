#include "remembered_options.h"

#include "csv_logger.h"
#include "platform/settings.h"

namespace zelta {
namespace {

const QString kDirectory = QStringLiteral("logging/directory");
const QString kDelimiter = QStringLiteral("logging/delimiter");
const QString kActive = QStringLiteral("logging/active");

}  // namespace

RememberedOptions::RememberedOptions(Settings& settings, CsvLogger& logger)
    : settings_(settings), logger_(logger) {}

void RememberedOptions::restore() {
  if (settings_.contains(kDirectory))
    logger_.setLogDir(logger_.setLogFiles(settings_.value(kDirectory).toString()));
  // The options window never takes a delimiter that cannot separate fields;
  // one edited into the stored settings is left out the same way.
  const QString delimiter = settings_.value(kDelimiter).toString();
  if (settings_.contains(kDelimiter) && !delimiter.contains('"') && !delimiter.contains('\r') &&
      !delimiter.contains('\n'))
    logger_.setDelimiter(delimiter);
  if (settings_.contains(kActive)) logger_.setLoggingActive(settings_.value(kActive).toBool());
}

void RememberedOptions::save() {
  settings_.setValue(kDirectory, logger_.logDir());
  settings_.setValue(kDelimiter, logger_.delimiter());
  settings_.setValue(kActive, logger_.loggingActive());
}

}  // namespace zelta
