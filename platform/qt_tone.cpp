#include "qt_tone.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <cmath>
#include <numbers>

#ifdef Q_OS_WIN
#include <windows.h>

#include <thread>
#endif

namespace zelta {

QtTone::QtTone() {
#ifndef Q_OS_WIN
  for (const char* candidate : {"aplay", "paplay"}) {
    player_ = QStandardPaths::findExecutable(QString::fromLatin1(candidate));
    if (!player_.isEmpty()) break;
  }
#endif
}

QtTone::~QtTone() {
  for (const QString& file : std::as_const(files_)) QFile::remove(file);
}

QByteArray QtTone::sineWav(int frequencyHz, int durationMs, int sampleRate) {
  const qint64 samples = qint64(sampleRate) * qMax(durationMs, 0) / 1000;
  const quint32 dataBytes = static_cast<quint32>(samples * 2);
  QByteArray wav;
  wav.reserve(44 + static_cast<int>(dataBytes));
  auto u32 = [&wav](quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    wav.append(b, 4);
  };
  auto u16 = [&wav](quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    wav.append(b, 2);
  };
  wav.append("RIFF");
  u32(36 + dataBytes);
  wav.append("WAVEfmt ");
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(static_cast<quint32>(sampleRate));
  u32(static_cast<quint32>(sampleRate * 2));
  u16(2);
  u16(16);
  wav.append("data");
  u32(dataBytes);
  const qint64 fade = qMin<qint64>(sampleRate / 200, samples / 2);  // 5 ms
  for (qint64 i = 0; i < samples; ++i) {
    double gain = 0.5;
    if (fade > 0 && i < fade) gain *= double(i) / fade;
    if (fade > 0 && samples - 1 - i < fade) gain *= double(samples - 1 - i) / fade;
    const double v = gain * std::sin(2 * std::numbers::pi * frequencyHz * double(i) / sampleRate);
    u16(static_cast<quint16>(static_cast<qint16>(std::lround(v * 32767))));
  }
  return wav;
}

QString QtTone::wavFile(int frequencyHz, int durationMs) {
  const QString key = QStringLiteral("%1/%2").arg(frequencyHz).arg(durationMs);
  if (const auto it = files_.constFind(key); it != files_.constEnd() && QFile::exists(*it))
    return *it;
  const QString path = QDir(QDir::tempPath())
                           .filePath(QStringLiteral("zelta-tone-%1-%2-%3.wav")
                                         .arg(QCoreApplication::applicationPid())
                                         .arg(frequencyHz)
                                         .arg(durationMs));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
  const QByteArray wav = sineWav(frequencyHz, durationMs);
  if (file.write(wav) != wav.size()) return {};
  files_.insert(key, path);
  return path;
}

void QtTone::play(int frequencyHz, int durationMs) {
  if (frequencyHz <= 0 || durationMs <= 0) return;
#ifdef Q_OS_WIN
  std::thread([frequencyHz, durationMs] {
    ::Beep(static_cast<DWORD>(frequencyHz), static_cast<DWORD>(durationMs));
  }).detach();
#else
  const QString file = player_.isEmpty() ? QString() : wavFile(frequencyHz, durationMs);
  if (file.isEmpty()) {
    QApplication::beep();
    return;
  }
  auto* process = new QProcess(&processes_);
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  // No sound device (or no sound server) shows as a failed player: ring the bell.
  QObject::connect(process, &QProcess::finished, process,
                   [process](int code, QProcess::ExitStatus status) {
                     if (status != QProcess::NormalExit || code != 0) QApplication::beep();
                     process->deleteLater();
                   });
  QObject::connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError e) {
    if (e != QProcess::FailedToStart) return;
    QApplication::beep();
    process->deleteLater();
  });
  QStringList arguments;
  if (QFileInfo(player_).fileName() == QLatin1String("aplay")) arguments << QStringLiteral("-q");
  arguments << file;
  process->start(player_, arguments);
#endif
}

}  // namespace zelta
