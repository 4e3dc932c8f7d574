#include "manual_requests.h"

#include <QLineEdit>
#include <QPushButton>

#include "field_rules.h"
#include "module_values_window.h"
#include "number_text.h"
#include "platform/clock.h"
#include "protocol/requests.h"
#include "reader_controls.h"
#include "reader_link.h"
#include "reader_state.h"
#include "scan_engine.h"

namespace zelta {
namespace {

Frame startFlashing(std::uint16_t address) {
  return request::moduleSearch(address, SearchAction::StartFlashing);
}
Frame stopFlashing(std::uint16_t address) {
  return request::moduleSearch(address, SearchAction::StopFlashing);
}

}  // namespace

ManualRequests::ManualRequests(ReaderState& state, const ReaderControls& c, ReaderLink& link,
                               ScanEngine& engine, WindowSlot<ModuleValuesWindow>& moduleValues,
                               QObject* parent)
    : QObject(parent),
      state_(state),
      c_(c),
      link_(link),
      engine_(engine),
      moduleValues_(moduleValues) {
  struct ValueButton {
    QPushButton* button;
    int answerMs;
    Frame (*request)(std::uint16_t);
  };
  const ValueButton buttons[] = {
      {c_.command15, 1000, request::moduleType},
      {c_.command14, 1000, request::softwareRevision},
      {c_.command13, 1000, request::hardwareRevision},
      {c_.command8, 1000, request::readerVoltage},
      {c_.command56, 1000, request::readerTemperature},
      {c_.command12, 2000, request::readerImpedance},
  };
  for (const ValueButton& b : buttons) {
    connect(b.button, &QPushButton::clicked, this, [this, b] {
      Timer& answer = engine_.answerTimer();
      answer.setInterval(b.answerMs);
      answer.setEnabled(true);
      setAddressFromField();
      link_.request(b.request);
    });
  }
  connect(c_.command23, &QPushButton::clicked, this, [this] {
    setAddressFromField();
    link_.request(startFlashing);
  });
  connect(c_.command66, &QPushButton::clicked, this, [this] {
    setAddressFromField();
    link_.request(stopFlashing);
  });
  connect(c_.text2, &QLineEdit::textChanged, this, &ManualRequests::addressChanged);
}

void ManualRequests::setAddressFromField() { state_.adr = lenientNumber(c_.text2->text()); }

void ManualRequests::addressChanged() {
  if (auto fix = field_rules::manualAddress(c_.text2->text())) {
    c_.text2->setText(*fix);  // runs this handler again with the corrected text
    return;
  }
  moduleValues_.ensure().clearFields();
}

}  // namespace zelta
