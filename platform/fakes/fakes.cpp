#include "fakes.h"

#include "platform/clock.h"

namespace zelta {

void RecordingTone::play(int frequencyHz, int durationMs) {
  played_.push_back({frequencyHz, durationMs, clock_ ? clock_->nowMs() : 0});
}

FolderChoice ScriptedFolderChooser::choose(QWidget*, const QString& title, const QString& startDir) {
  asked_.push_back({title, startDir});
  if (choices_.empty()) return {FolderChoice::Outcome::Cancelled, {}};
  FolderChoice c = choices_.front();
  choices_.pop_front();
  return c;
}

SaveChoice ScriptedFileSaver::choose(QWidget*, const QString& title, const QString& suggestedPath,
                                     const QString& fileTypes) {
  asked_.push_back({title, suggestedPath, fileTypes});
  if (choices_.empty()) return {SaveChoice::Outcome::Cancelled, {}};
  SaveChoice c = choices_.front();
  choices_.pop_front();
  return c;
}

}  // namespace zelta
