#include "fakes.h"

#include "platform/clock.h"

namespace zelta {

void RecordingTone::play(int frequencyHz, int durationMs) {
  played_.push_back({frequencyHz, durationMs, clock_ ? clock_->nowMs() : 0});
}

FolderChoice ScriptedFolderChooser::choose(QWidget*, const QString& title,
                                           const QString& startDir) {
  asked_.push_back({title, startDir});
  if (choices_.empty()) return {FolderChoice::Outcome::Cancelled, {}};
  FolderChoice c = choices_.front();
  choices_.pop_front();
  return c;
}

SaveResult ScriptedFileSaver::save(QWidget*, const QString& title, const QString& suggestedName,
                                   const QString&, const QByteArray& contents) {
  SaveResult r;
  if (!results_.empty()) {
    r = results_.front();
    results_.pop_front();
  }
  if (r.outcome == SaveResult::Outcome::Saved)
    saved_.push_back({title, suggestedName, r.path, contents});
  return r;
}

}  // namespace zelta
