// A tone through the sound system: on Windows the Beep API on a worker thread;
// elsewhere a short WAV file played by aplay or paplay in the background. When
// neither can sound, the system bell. play() returns at once.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include "platform/tone.h"

namespace zelta {

class QtTone final : public Tone {
 public:
  QtTone();
  ~QtTone() override;
  void play(int frequencyHz, int durationMs) override;

  // A mono 16-bit PCM WAV file of a sine tone, with short fades against clicks.
  static QByteArray sineWav(int frequencyHz, int durationMs, int sampleRate = 22050);

 private:
  QString wavFile(int frequencyHz, int durationMs);

  QObject processes_;          // parent of running player processes
  QString player_;             // aplay or paplay, empty when none was found
  QHash<QString, QString> files_;  // "frequency/duration" -> temporary WAV file
};

}  // namespace zelta
