#include "monitor/event_text.h"

#include <array>

#include "protocol/commands.h"
#include "protocol/decoders.h"
#include "protocol/numbers.h"

namespace zelta::monitor {
namespace {

const char kDigits[] = "0123456789ABCDEF";

QString hex2(unsigned v) {
  return QStringLiteral("0x") + QLatin1Char(kDigits[(v >> 4) & 0xF]) +
         QLatin1Char(kDigits[v & 0xF]);
}

QString hexBytes(const std::uint8_t* bytes, std::size_t count) {
  QString text;
  text.reserve(static_cast<qsizetype>(count * 3));
  for (std::size_t i = 0; i < count; ++i) {
    if (i) text += QLatin1Char(' ');
    text += QLatin1Char(kDigits[bytes[i] >> 4]);
    text += QLatin1Char(kDigits[bytes[i] & 0x0F]);
  }
  return text;
}

QString general(double v) { return QString::fromStdString(formatGeneral(v)); }
QString volts(double v) { return QString::fromStdString(formatVoltage(v)) + QStringLiteral(" V"); }
QString celsius(double v) { return general(v) + QStringLiteral(" °C"); }

unsigned dataWord(const Frame& f, std::size_t at) { return unsigned(f[at]) << 8 | f[at + 1]; }

QString ledName(std::uint8_t state) {
  switch (state) {
    case 0: return QStringLiteral("off");
    case 2: return QStringLiteral("green");
    case 3: return QStringLiteral("red");
    default: return QStringLiteral("state %1").arg(state);
  }
}

QString requestMeaning(const Frame& f) {
  const unsigned to = frameAddress(f);
  switch (frameCommand(f)) {
    case cmd::Temperature: return QStringLiteral("temperature request");
    case cmd::Voltage: return QStringLiteral("voltage request");
    case cmd::Impedance: return QStringLiteral("impedance request");
    case cmd::Collective:
      return to == cmd::WakeUpAddress ? QStringLiteral("collective request (wake-up)")
                                      : QStringLiteral("collective request");
    case cmd::HardwareRevision: return QStringLiteral("hardware revision request");
    case cmd::SoftwareRevision: return QStringLiteral("software revision request");
    case cmd::ModuleType: return QStringLiteral("module type request");
    case cmd::ModuleSearch:
      if (f[4] == 1) return QStringLiteral("module search: start flashing");
      if (f[4] == 2) return QStringLiteral("module search: stop flashing");
      return QStringLiteral("module search, action %1").arg(f[4]);
    case cmd::Address:
      if (f[4] == 0) return QStringLiteral("address query");
      if (f[4] == 1) return QStringLiteral("set address %1 → %2").arg(to).arg(dataWord(f, 5));
      return QStringLiteral("address command, byte 4 = %1").arg(f[4]);
    case cmd::StopAuto: return QStringLiteral("stop automatic addressing");
    case cmd::AutoAddress:
      return QStringLiteral("automatic addressing: the next button pressed takes %1")
          .arg(dataWord(f, 4));
    case cmd::SetLed: return QStringLiteral("set LED ") + ledName(f[4]);
    case cmd::Ping: return QStringLiteral("line-check message %1").arg(dataWord(f, 4));
    default: return QStringLiteral("unknown request ") + hex2(frameCommand(f));
  }
}

QString replyMeaning(const Frame& f) {
  switch (frameCommand(f)) {
    case cmd::Temperature:
      return QStringLiteral("temperature reply, ") + celsius(decode::temperature(f));
    case cmd::Voltage: return QStringLiteral("voltage reply, ") + volts(decode::voltage(f));
    case cmd::Impedance:
      return QStringLiteral("impedance reply, ") + general(decode::impedance(f)) +
             QStringLiteral(" mOhm");
    case cmd::Collective: {
      const decode::CollectiveReading r = decode::collective(f);
      return QStringLiteral("collective reply, %1, %2, status %3, error %4")
          .arg(celsius(r.temperature), volts(r.voltage), hex2(r.status))
          .arg(r.error);
    }
    case cmd::HardwareRevision:
      return QStringLiteral("hardware revision reply, ") +
             QString::fromStdString(decode::hardwareRevision(f));
    case cmd::SoftwareRevision:
      return QStringLiteral("software revision reply, ") +
             QString::fromStdString(decode::softwareRevision(f));
    case cmd::ModuleType: {
      const auto name = decode::moduleTypeName(decode::moduleTypeCode(f));
      return name ? QStringLiteral("module type reply, ") + QString::fromStdString(*name)
                  : QStringLiteral("module type reply, code %1 (no name)").arg(f[4]);
    }
    case cmd::ModuleSearch: return QStringLiteral("module search answer");
    case cmd::Address:
      if (f[4] == 0) return QStringLiteral("address reply, %1").arg(decode::addressInData(f));
      return QStringLiteral("address set, now %1").arg(decode::addressInData(f));
    case cmd::AutoAddress: return QStringLiteral("automatic address taken");
    case cmd::Ping: return QStringLiteral("line-check message %1").arg(decode::messageNumber(f));
    default: return QStringLiteral("unknown reply ") + hex2(frameCommand(f));
  }
}

QString commandText(std::uint8_t code) { return hex2(code) + QLatin1Char(' ') + commandName(code); }

}  // namespace

const QString& EventText::operator[](Column c) const {
  switch (c) {
    case Column::Time: return time;
    case Column::Direction: return direction;
    case Column::Bytes: return bytes;
    case Column::Address: return address;
    case Column::Command: return command;
    case Column::Meaning: return meaning;
    case Column::Check: break;
    case Column::Count: break;
  }
  return check;
}

QString commandName(std::uint8_t code) {
  switch (code) {
    case cmd::Temperature: return QStringLiteral("temperature");
    case cmd::Voltage: return QStringLiteral("voltage");
    case cmd::Impedance: return QStringLiteral("impedance");
    case cmd::Collective: return QStringLiteral("collective");
    case cmd::HardwareRevision: return QStringLiteral("hardware revision");
    case cmd::SoftwareRevision: return QStringLiteral("software revision");
    case cmd::ModuleType: return QStringLiteral("module type");
    case cmd::SetLed: return QStringLiteral("set LED");
    case cmd::Ping: return QStringLiteral("line check");
    case cmd::ModuleSearch: return QStringLiteral("module search");
    case cmd::Address: return QStringLiteral("address");
    case cmd::StopAuto: return QStringLiteral("stop addressing");
    case cmd::AutoAddress: return QStringLiteral("automatic addressing");
    default: return QStringLiteral("unknown");
  }
}

const std::vector<std::uint8_t>& knownCommands() {
  static const std::vector<std::uint8_t> codes = {
      cmd::Temperature,  cmd::Voltage,          cmd::Impedance,
      cmd::Collective,   cmd::HardwareRevision, cmd::SoftwareRevision,
      cmd::ModuleType,   cmd::SetLed,           cmd::Ping,
      cmd::ModuleSearch, cmd::Address,          cmd::StopAuto,
      cmd::AutoAddress};
  return codes;
}

QStringList columnTitles() {
  return {QStringLiteral("Time (ms)"), QStringLiteral("Dir"),     QStringLiteral("Bytes"),
          QStringLiteral("Address"),   QStringLiteral("Command"), QStringLiteral("Meaning"),
          QStringLiteral("Check")};
}

EventText describe(const CapturedEvent& captured) {
  const BusEvent& e = captured.event;
  EventText t;
  t.time = QString::number(e.timeMs);
  const Frame& f = e.frame;
  switch (e.kind) {
    case BusEvent::Kind::Sent:
    case BusEvent::Kind::Received:
      t.direction = e.kind == BusEvent::Kind::Sent ? QStringLiteral("TX") : QStringLiteral("RX");
      t.bytes = hexBytes(f.data(), f.size());
      t.address = QString::number(frameAddress(f));
      t.command = commandText(frameCommand(f));
      t.meaning = e.kind == BusEvent::Kind::Sent ? requestMeaning(f) : replyMeaning(f);
      t.check = hasValidCheckByte(f) ? QStringLiteral("ok") : QStringLiteral("wrong");
      break;
    case BusEvent::Kind::CrcError:
      t.direction = QStringLiteral("RX");
      t.bytes = hexBytes(f.data(), f.size());
      t.address = QString::number(frameAddress(f));
      t.command = commandText(frameCommand(f));
      t.meaning = QStringLiteral("frame with a wrong check byte, not used");
      t.check = QStringLiteral("wrong (%1, expected %2)")
                    .arg(hex2(f[kFrameSize - 1]),
                         hex2(calc_crc(std::span<const std::uint8_t>(f.data(), kFrameSize - 1))));
      break;
    case BusEvent::Kind::Dropped:
      t.direction = QStringLiteral("RX");
      t.bytes = hexBytes(&e.byte, 1);
      t.meaning = QStringLiteral("byte dropped (no frame start)");
      break;
    case BusEvent::Kind::Missing:
      if (e.asked >= 0) t.address = QString::number(e.asked);
      if (captured.askedCommand >= 0)
        t.command = commandText(static_cast<std::uint8_t>(captured.askedCommand));
      t.meaning = e.asked >= 0 ? QStringLiteral("no answer from %1").arg(e.asked)
                               : QStringLiteral("no answer");
      break;
  }
  return t;
}

}  // namespace zelta::monitor
