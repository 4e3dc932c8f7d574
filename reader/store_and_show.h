// What becomes of every decoded reply: the lamp of its kind's grid window
// blinks; in Manual Mode the value goes to "Module Values"; in Scan Mode it
// is filed under the address the reply came from (1 to 340, others change
// nothing), written into that module's cell and handed to the logger, and
// then told to whoever follows the readings.
#pragma once

#include "protocol/dispatch.h"
#include "value_store.h"
#include "window_slot.h"

namespace zelta {

class Clock;
class CsvLogger;
class GridWindows;
class ReadingEvents;
class ModuleValuesWindow;
struct ReaderState;

class StoreAndShow final : public ReaderReplies {
 public:
  StoreAndShow(const ReaderState& state, ValueStore& store, GridWindows& grids,
               WindowSlot<ModuleValuesWindow>& moduleValues, CsvLogger& logger,
               ReadingEvents& readings, const Clock& clock);

  void up_t_auswert(const Frame& f, double celsius) override;
  void up_u_auswert(const Frame& f, double volts) override;
  void up_z_auswert(const Frame& f, double milliohm) override;
  void up_sammel_auswert(const Frame& f, const decode::CollectiveReading& r) override;
  void up_hw(const Frame& f, const std::string& revision) override;
  void up_sw(const Frame& f, const std::string& revision) override;
  void up_modul(const Frame& f, const std::optional<std::string>& name) override;

 private:
  // display: the text for the field, the cell and the log.
  void show(ValueKind kind, const Frame& f, StoredValue value, const QString& display);
  bool blinkAndCheckManual(ValueKind kind, const QString& manualText);

  const ReaderState& state_;
  ValueStore& store_;
  GridWindows& grids_;
  WindowSlot<ModuleValuesWindow>& moduleValues_;
  CsvLogger& logger_;
  ReadingEvents& readings_;
  const Clock& clock_;
};

}  // namespace zelta
