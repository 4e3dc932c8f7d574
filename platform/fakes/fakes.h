// Small fakes of the platform for tests: a tone that records, a folder chooser
// and a save-file chooser that answer from a script, a fixed environment and
// settings kept in memory (empty, as at a first run).
#pragma once

#include <QString>
#include <QVariantMap>
#include <deque>
#include <vector>

#include "platform/environment.h"
#include "platform/folder_chooser.h"
#include "platform/save_file.h"
#include "platform/settings.h"
#include "platform/tone.h"

namespace zelta {

class Clock;

class RecordingTone final : public Tone {
 public:
  struct Played {
    int frequencyHz;
    int durationMs;
    qint64 atMs;
  };
  explicit RecordingTone(const Clock* clock = nullptr) : clock_(clock) {}
  void play(int frequencyHz, int durationMs) override;
  const std::vector<Played>& played() const { return played_; }

 private:
  const Clock* clock_;
  std::vector<Played> played_;
};

class ScriptedFolderChooser final : public FolderChooser {
 public:
  struct Asked {
    QString title;
    QString startDir;
  };
  void queue(FolderChoice choice) { choices_.push_back(choice); }
  FolderChoice choose(QWidget* owner, const QString& title, const QString& startDir) override;
  const std::vector<Asked>& asked() const { return asked_; }

 private:
  std::deque<FolderChoice> choices_;
  std::vector<Asked> asked_;
};

class ScriptedFileSaver final : public FileSaver {
 public:
  struct Asked {
    QString title;
    QString suggestedPath;
    QString fileTypes;
  };
  void queue(SaveChoice choice) { choices_.push_back(choice); }
  SaveChoice choose(QWidget* owner, const QString& title, const QString& suggestedPath,
                    const QString& fileTypes) override;
  const std::vector<Asked>& asked() const { return asked_; }

 private:
  std::deque<SaveChoice> choices_;
  std::vector<Asked> asked_;
};

class FixedEnvironment final : public Environment {
 public:
  QString home = "/home/tech";
  QString documents = "/home/tech/Documents";
  QString current = "/home/tech";
  QString arguments;

  QString homeDir() const override { return home; }
  QString documentsDir() const override { return documents; }
  QString currentDir() const override { return current; }
  QString argumentString() const override { return arguments; }
};

class MemorySettings final : public Settings {
 public:
  bool contains(const QString& key) const override { return values.contains(key); }
  QVariant value(const QString& key, const QVariant& fallback = {}) const override {
    return values.value(key, fallback);
  }
  void setValue(const QString& key, const QVariant& value) override { values[key] = value; }

  QVariantMap values;
};

}  // namespace zelta
