// The module search: the module with the address in "Address:" flashes its LED
// until the installer presses its button (seen as the answer to a temperature
// poll every 500 ms) or presses "Stop". "No answer from" is shown when the
// module does not react within 3000 ms; that time-out also serves the address
// search, which shares its timer.
#pragma once

#include <QObject>

namespace zelta::programmer {

struct ProgrammerContext;

class ModuleSearch : public QObject {
  Q_OBJECT
 public:
  explicit ModuleSearch(const ProgrammerContext& ctx, QObject* parent = nullptr);

  // Replies: the module's answer to a search request (start or stop), and
  // the answer to a temperature poll.
  void up_modul_search();
  void temperatureReply();

 private:
  void startPressed();
  void stopPressed();
  void searchProper();  // Timer15
  void poll();          // Timer14

  const ProgrammerContext& ctx_;
};

}  // namespace zelta::programmer
