// Small fakes of the platform for tests: a tone that records, a folder chooser
// and a file saver that answer from a script, a fixed environment, settings
// kept in memory (empty, as at a first run), a document viewer that records
// and a fixed list of ports present.
#pragma once

#include <QString>
#include <QVariantMap>
#include <deque>
#include <map>
#include <vector>

#include "platform/document_opener.h"
#include "platform/environment.h"
#include "platform/folder_chooser.h"
#include "platform/port_catalog.h"
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

// Answers save dialogs from a script (a path, or nothing for Cancel; with
// none queued, Cancel) and keeps what would have been written.
class ScriptedFileSaver final : public FileSaver {
 public:
  struct Saved {
    QString title;
    QString suggestedName;
    QString path;
    QByteArray contents;
  };
  void queue(SaveResult result) { results_.push_back(std::move(result)); }
  void queuePath(const QString& path) { queue({SaveResult::Outcome::Saved, path, {}}); }
  SaveResult save(QWidget* owner, const QString& title, const QString& suggestedName,
                  const QString& filter, const QByteArray& contents) override;
  const std::vector<Saved>& saved() const { return saved_; }

 private:
  std::deque<SaveResult> results_;
  std::vector<Saved> saved_;
};

class RecordingDocumentOpener final : public DocumentOpener {
 public:
  bool open(const QString& path) override {
    opened.push_back(path);
    return true;
  }
  std::vector<QString> opened;
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

// Port n opens /dev/ttyS<n-1> unless named otherwise; the ports present are
// the ones a test lists.
class FixedPortCatalog final : public PortCatalog {
 public:
  QString deviceForPort(int number) const override {
    const auto it = named.find(number);
    return it != named.end() ? it->second : QStringLiteral("/dev/ttyS%1").arg(number - 1);
  }
  std::vector<PresentPort> presentPorts() const override { return present; }

  std::map<int, QString> named;
  std::vector<PresentPort> present;
};

}  // namespace zelta
