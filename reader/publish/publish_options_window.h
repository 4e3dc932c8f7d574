// "Publishing Options": publishing on or off, the broker (host, port, TLS
// with a CA file, user name and password), the site and string names that
// head the topics, and how many messages may wait while the broker is out of
// reach. "Ok" corrects a port or limit out of range to the nearest bound,
// remembers the options and applies them; "Cancel" drops the edits.
#pragma once

#include <QWidget>
#include <functional>

#include "publish_options.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace zelta {

class PublishOptionsWindow : public QWidget {
  Q_OBJECT
 public:
  using Apply = std::function<void(const PublishOptions&)>;
  explicit PublishOptionsWindow(Apply apply);

  // Fills the fields from the options in effect and shows the window.
  void openFromMenu(const PublishOptions& current);

 private:
  void takeFields();
  void showTopic();
  void setTlsActivity();

  Apply apply_;
  QCheckBox* active_;
  QLineEdit* host_;
  QLineEdit* port_;
  QCheckBox* tls_;
  QLineEdit* caFile_;
  QLineEdit* user_;
  QLineEdit* password_;
  QLineEdit* site_;
  QLineEdit* string_;
  QLineEdit* queueLimit_;
  QLabel* topic_;
};

}  // namespace zelta
