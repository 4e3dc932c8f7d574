// Publishing for the Reader's main window: "Publishing Options..." beside
// "Logging Options..." in the Module_SubScreens menu, its window, the
// publisher following the window's readings, and the state line. The
// options remembered from the last run take effect when the window is built.
#pragma once

#include <memory>

#include "mqtt_publisher.h"

class QMainWindow;

namespace zelta {

struct Platform;
struct ReaderState;
class PublishOptionsWindow;
class PublishStateLine;

class ReaderPublishing {
 public:
  ReaderPublishing(QMainWindow& form1, Platform& platform, ReadingEvents& readings,
                   const ReaderState& state);
  ~ReaderPublishing();

  MqttPublisher& publisher() { return *publisher_; }
  QWidget* optionsWindow() const;
  void closeWindow();

 private:
  void apply(const PublishOptions& options);

  Platform& platform_;
  std::unique_ptr<MqttPublisher> publisher_;
  std::unique_ptr<PublishOptionsWindow> window_;
  std::unique_ptr<PublishStateLine> line_;
};

}  // namespace zelta
