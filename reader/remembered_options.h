// The Reader's logging options kept between runs: directory, delimiter and
// whether logging is active, as last taken in "Logging Options" ("Ok",
// "Default", "Browse"). A first run finds nothing stored and starts with
// the options empty and logging off, as always.
#pragma once

namespace zelta {

class CsvLogger;
class Settings;

class RememberedOptions {
 public:
  RememberedOptions(Settings& settings, CsvLogger& logger);

  // Puts stored options into the logger (at start).
  void restore();
  // Stores the logger's options as they are now.
  void save();

 private:
  Settings& settings_;
  CsvLogger& logger_;
};

}  // namespace zelta
