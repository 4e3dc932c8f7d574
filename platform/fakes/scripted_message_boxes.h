// Message boxes for tests: records every box asked for, answers from a script
// (answers queued in order; with none queued, Yes for Yes/No boxes and Ok
// otherwise), and can run an action while the box is "open", e.g. advance the
// virtual clock to show which timers go on and which wait meanwhile. A box
// asked for while another is open cannot wait here: it is counted in
// waitedForAnother() and then shown at once.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/message_boxes.h"

namespace zelta {

class ScriptedMessageBoxes final : public MessageBoxes {
 public:
  using MessageBoxes::MessageBoxes;

  void queueAnswer(BoxAnswer answer) { answers_.push_back(answer); }
  void whileOpen(std::function<void(const BoxRequest&)> action) { whileOpen_ = std::move(action); }

  const std::vector<BoxRequest>& asked() const { return asked_; }
  void clearAsked() { asked_.clear(); }
  int waitedForAnother() const { return waited_; }

 protected:
  BoxAnswer present(QWidget* owner, const BoxRequest& request) override;
  void waitForClose(const BoxRequest&) override {
    ++waited_;
    closed();
  }

 private:
  std::deque<BoxAnswer> answers_;
  std::function<void(const BoxRequest&)> whileOpen_;
  std::vector<BoxRequest> asked_;
  int waited_ = 0;
};

}  // namespace zelta
