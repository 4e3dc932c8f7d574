#include "store_and_show.h"

#include "csv_logger.h"
#include "grid_windows.h"
#include "module_values_window.h"
#include "number_text.h"
#include "platform/clock.h"
#include "reader_state.h"
#include "reading_events.h"

namespace zelta {
namespace {

bool storable(int address) { return address >= 1 && address <= kModuleCount; }

}  // namespace

StoreAndShow::StoreAndShow(const ReaderState& state, ValueStore& store, GridWindows& grids,
                           WindowSlot<ModuleValuesWindow>& moduleValues, CsvLogger& logger,
                           ReadingEvents& readings, const Clock& clock)
    : state_(state),
      store_(store),
      grids_(grids),
      moduleValues_(moduleValues),
      logger_(logger),
      readings_(readings),
      clock_(clock) {}

bool StoreAndShow::blinkAndCheckManual(ValueKind kind, const QString& manualText) {
  grids_.ensure(kind).blink();
  if (state_.manuell != 1) return false;
  moduleValues_.ensure().setField(kind, manualText);
  return true;
}

void StoreAndShow::show(ValueKind kind, const Frame& f, StoredValue value, const QString& display) {
  if (blinkAndCheckManual(kind, display)) return;
  const int address = frameAddress(f);
  if (!storable(address)) return;
  store_.set(kind, address - 1, value);
  grids_.ensure(kind).setCell(address - 1, display);
  logger_.logValue(QString::fromLatin1(kindNames(kind).logName), display, address);
  emit readings_.stored({kind, address, std::move(value), display, clock_.nowMs()});
}

void StoreAndShow::up_u_auswert(const Frame& f, double volts) {
  show(ValueKind::Voltage, f, volts, voltageText(volts));
}

void StoreAndShow::up_t_auswert(const Frame& f, double celsius) {
  show(ValueKind::Temperature, f, celsius, generalText(celsius));
}

void StoreAndShow::up_z_auswert(const Frame& f, double milliohm) {
  show(ValueKind::Impedance, f, milliohm, generalText(milliohm));
}

void StoreAndShow::up_hw(const Frame& f, const std::string& revision) {
  const QString text = QString::fromStdString(revision);
  show(ValueKind::Hardware, f, text, text);
}

void StoreAndShow::up_sw(const Frame& f, const std::string& revision) {
  const QString text = QString::fromStdString(revision);
  show(ValueKind::Software, f, text, text);
}

void StoreAndShow::up_modul(const Frame& f, const std::optional<std::string>& name) {
  if (name) {
    const QString text = QString::fromStdString(*name);
    show(ValueKind::ModuleType, f, text, text);
    return;
  }
  // A code without a name: the field is emptied; the table keeps its entry,
  // which the cell and the log receive again.
  if (blinkAndCheckManual(ValueKind::ModuleType, QString())) return;
  const int address = frameAddress(f);
  if (!storable(address)) return;
  const QString old = generalForm(store_.at(ValueKind::ModuleType, address - 1));
  grids_.ensure(ValueKind::ModuleType).setCell(address - 1, old);
  logger_.logValue(QString::fromLatin1(kindNames(ValueKind::ModuleType).logName), old, address);
}

void StoreAndShow::up_sammel_auswert(const Frame&, const decode::CollectiveReading&) {
  grids_.ensure(ValueKind::Voltage).blink();
  grids_.ensure(ValueKind::Temperature).blink();
}

}  // namespace zelta
