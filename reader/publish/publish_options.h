// What the user chose in "Publishing Options": the broker, its credentials,
// where in the topic tree this Reader's string goes, and how many messages
// may wait while the broker is out of reach. Remembered under "publishing/".
#pragma once

#include <QString>

namespace zelta {

class Settings;

struct PublishOptions {
  bool active = false;
  QString host = QStringLiteral("localhost");
  int port = 1883;
  bool tls = false;
  QString caFile;
  QString user;
  QString password;
  QString site = QStringLiteral("site");
  QString string = QStringLiteral("string1");
  int queueLimit = 10000;

  static constexpr int kMaxQueueLimit = 1000000;

  static PublishOptions load(const Settings& settings);
  void save(Settings& settings) const;
  bool operator==(const PublishOptions&) const = default;
};

}  // namespace zelta
