#include "reader_publishing.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include "mosquitto_client.h"
#include "platform/platform.h"
#include "publish_options_window.h"
#include "publish_state_line.h"
#include "reader/number_text.h"
#include "reader/reader_state.h"

namespace zelta {
namespace {

// Puts the entry beside "Logging Options...", just above it (or last in the
// menu).
QAction* addMenuEntry(QMainWindow& form1) {
  auto* menu = form1.menuBar()->findChild<QMenu*>("CxSubScreens");
  auto* entry = new QAction("&Publishing Options...", &form1);
  entry->setObjectName("Publishing_Options");
  if (!menu) return entry;
  for (QAction* a : menu->actions())
    if (a->objectName() == QLatin1String("Logging_Options")) {
      menu->insertAction(a, entry);
      return entry;
    }
  menu->addAction(entry);
  return entry;
}

}  // namespace

ReaderPublishing::ReaderPublishing(QMainWindow& form1, Platform& platform, ReadingEvents& readings,
                                   const ReaderState& state)
    : platform_(platform) {
  const auto scanRange = [&state] {
    return std::pair{int(lenientNumber(state.start_adr)), int(lenientNumber(state.end_adr))};
  };
  publisher_ = std::make_unique<MqttPublisher>(platform.clock, readings, scanRange,
                                               [] { return std::make_unique<MosquittoClient>(); });
  window_ = std::make_unique<PublishOptionsWindow>(
      [this](const PublishOptions& options) { apply(options); });
  line_ = std::make_unique<PublishStateLine>(form1, platform.clock, *publisher_);
  QObject::connect(addMenuEntry(form1), &QAction::triggered, window_.get(),
                   [this] { window_->openFromMenu(PublishOptions::load(platform_.settings)); });
  // Publishing starts once the window is up, as the user last left it; the
  // options are read again then, so a change made meanwhile is not undone.
  if (PublishOptions::load(platform.settings).active)
    platform.clock.callAfter(
        0, [publisher = QPointer(publisher_.get()), &settings = platform.settings] {
          const PublishOptions remembered = PublishOptions::load(settings);
          if (publisher && remembered.active && publisher->state() == MqttPublisher::State::Off)
            publisher->apply(remembered);
        });
}

ReaderPublishing::~ReaderPublishing() = default;

QWidget* ReaderPublishing::optionsWindow() const { return window_.get(); }

void ReaderPublishing::closeWindow() { window_->close(); }

void ReaderPublishing::apply(const PublishOptions& options) {
  options.save(platform_.settings);
  publisher_->apply(options);
}

}  // namespace zelta
