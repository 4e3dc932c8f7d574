#include "publish_options.h"

#include "platform/settings.h"

namespace zelta {

PublishOptions PublishOptions::load(const Settings& s) {
  PublishOptions o;
  o.active = s.value("publishing/active", o.active).toBool();
  o.host = s.value("publishing/host", o.host).toString();
  o.port = s.value("publishing/port", o.port).toInt();
  o.tls = s.value("publishing/tls", o.tls).toBool();
  o.caFile = s.value("publishing/caFile", o.caFile).toString();
  o.user = s.value("publishing/user", o.user).toString();
  o.password = s.value("publishing/password", o.password).toString();
  o.site = s.value("publishing/site", o.site).toString();
  o.string = s.value("publishing/string", o.string).toString();
  o.queueLimit = s.value("publishing/queueLimit", o.queueLimit).toInt();
  // A hand-edited settings file must not give a port or bound out of range.
  if (o.port < 1 || o.port > 65535) o.port = PublishOptions{}.port;
  if (o.queueLimit < 1 || o.queueLimit > kMaxQueueLimit) o.queueLimit = PublishOptions{}.queueLimit;
  return o;
}

void PublishOptions::save(Settings& s) const {
  s.setValue("publishing/active", active);
  s.setValue("publishing/host", host);
  s.setValue("publishing/port", port);
  s.setValue("publishing/tls", tls);
  s.setValue("publishing/caFile", caFile);
  s.setValue("publishing/user", user);
  s.setValue("publishing/password", password);
  s.setValue("publishing/site", site);
  s.setValue("publishing/string", string);
  s.setValue("publishing/queueLimit", queueLimit);
}

}  // namespace zelta
