#include "publish_options_window.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "mqtt_topics.h"
#include "reader/number_text.h"
#include "widgets/named.h"

namespace zelta {
namespace {

// The field as a whole number within [low, high]: a number out of range
// becomes the nearest bound, anything else the fallback.
int boundedNumber(const QString& text, int low, int high, int fallback) {
  const auto n = strictNumber(text.trimmed());
  if (!n) return fallback;
  return int(std::clamp(*n, double(low), double(high)));
}

}  // namespace

PublishOptionsWindow::PublishOptionsWindow(Apply apply) : apply_(std::move(apply)) {
  setObjectName("Publish_Options");
  setWindowTitle("Publishing Options");
  auto* form = new QFormLayout(this);
  active_ = named(new QCheckBox("Publishing Active", this), "PublishActive");
  host_ = named(new QLineEdit(this), "T_Host");
  host_->setMinimumWidth(240);
  port_ = named(new QLineEdit(this), "T_Port");
  tls_ = named(new QCheckBox("TLS", this), "Check_Tls");
  caFile_ = named(new QLineEdit(this), "T_CaFile");
  user_ = named(new QLineEdit(this), "T_User");
  password_ = named(new QLineEdit(this), "T_Password");
  password_->setEchoMode(QLineEdit::Password);
  site_ = named(new QLineEdit(this), "T_Site");
  string_ = named(new QLineEdit(this), "T_String");
  queueLimit_ = named(new QLineEdit(this), "T_QueueLimit");
  topic_ = named(new QLabel(this), "L_Topic");
  auto* ok = named(new QPushButton("Ok", this), "B_Apply");
  auto* cancel = named(new QPushButton("Cancel", this), "B_Cancel");

  form->addRow(active_);
  form->addRow("Broker:", host_);
  form->addRow("Port:", port_);
  form->addRow(tls_);
  form->addRow("CA File:", caFile_);
  form->addRow("User Name:", user_);
  form->addRow("Password:", password_);
  form->addRow("Site:", site_);
  form->addRow("String:", string_);
  form->addRow("Topics:", topic_);
  form->addRow("Queue Limit:", queueLimit_);
  auto* closing = new QHBoxLayout;
  closing->addStretch();
  closing->addWidget(ok);
  closing->addWidget(cancel);
  form->addRow(closing);

  connect(tls_, &QCheckBox::toggled, this, &PublishOptionsWindow::setTlsActivity);
  connect(site_, &QLineEdit::textChanged, this, &PublishOptionsWindow::showTopic);
  connect(string_, &QLineEdit::textChanged, this, &PublishOptionsWindow::showTopic);
  connect(ok, &QPushButton::clicked, this, &PublishOptionsWindow::takeFields);
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

void PublishOptionsWindow::openFromMenu(const PublishOptions& o) {
  active_->setChecked(o.active);
  host_->setText(o.host);
  port_->setText(QString::number(o.port));
  tls_->setChecked(o.tls);
  caFile_->setText(o.caFile);
  user_->setText(o.user);
  password_->setText(o.password);
  site_->setText(o.site);
  string_->setText(o.string);
  queueLimit_->setText(QString::number(o.queueLimit));
  setTlsActivity();
  showTopic();
  show();
  raise();
  activateWindow();
}

void PublishOptionsWindow::takeFields() {
  const PublishOptions defaults;
  PublishOptions o;
  o.active = active_->isChecked();
  o.host = host_->text().trimmed();
  o.port = boundedNumber(port_->text(), 1, 65535, defaults.port);
  o.tls = tls_->isChecked();
  o.caFile = caFile_->text().trimmed();
  o.user = user_->text();
  o.password = password_->text();
  o.site = site_->text();
  o.string = string_->text();
  o.queueLimit =
      boundedNumber(queueLimit_->text(), 1, PublishOptions::kMaxQueueLimit, defaults.queueLimit);
  port_->setText(QString::number(o.port));
  queueLimit_->setText(QString::number(o.queueLimit));
  apply_(o);
  close();
}

void PublishOptionsWindow::showTopic() {
  topic_->setText(QStringLiteral("zelta/%1/%2/<address>/<kind>")
                      .arg(TopicTree::level(site_->text()), TopicTree::level(string_->text())));
}

void PublishOptionsWindow::setTlsActivity() { caFile_->setEnabled(tls_->isChecked()); }

}  // namespace zelta
